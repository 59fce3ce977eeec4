#pragma once
// A dictionary from text to text whose keys ignore letter case, in insertion order, and
// DictExtension.List, which gives its values sorted.

#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace mt {

class CaseInsensitiveDictionary {
public:
    // Stores value under key; a key equal ignoring case replaces the value of the entry.
    void Set(const Bytes& key, const Bytes& value);
    const Bytes* Lookup(const Bytes& key) const;
    bool HasKey(const Bytes& key) const { return Lookup(key) != nullptr; }
    size_t Count() const { return entries_.size(); }
    const Bytes& KeyAt(size_t index) const { return entries_[index].first; }
    const Bytes& ValueAt(size_t index) const { return entries_[index].second; }
    void Clear();

private:
    std::vector<std::pair<Bytes, Bytes>> entries_;
    std::unordered_map<Bytes, size_t> index_;  // folded key -> entry
};

namespace DictExtension {
// The values of the dictionary, sorted ignoring letter case. Yields after each entry.
std::vector<Bytes> List(const CaseInsensitiveDictionary& dictionary);
}  // namespace DictExtension

}  // namespace mt
