#include "mediafolder/dict_extension.h"

#include <algorithm>

#include "platform/hooks.h"

namespace mt {

void CaseInsensitiveDictionary::Set(const Bytes& key, const Bytes& value) {
    auto [it, added] = index_.try_emplace(LowerAscii(key), entries_.size());
    if (added) {
        entries_.emplace_back(key, value);
    } else {
        entries_[it->second].second = value;
    }
}

const Bytes* CaseInsensitiveDictionary::Lookup(const Bytes& key) const {
    auto it = index_.find(LowerAscii(key));
    return it == index_.end() ? nullptr : &entries_[it->second].second;
}

void CaseInsensitiveDictionary::Clear() {
    entries_.clear();
    index_.clear();
}

namespace DictExtension {

std::vector<Bytes> List(const CaseInsensitiveDictionary& dictionary) {
    std::vector<Bytes> values;
    values.reserve(dictionary.Count());
    for (size_t i = 0; i < dictionary.Count(); ++i) {
        values.push_back(dictionary.ValueAt(i));
        YieldToEventLoop();
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const Bytes& a, const Bytes& b) { return CompareIgnoringCase(a, b) < 0; });
    return values;
}

}  // namespace DictExtension

}  // namespace mt
