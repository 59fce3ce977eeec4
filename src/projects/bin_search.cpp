#include "projects/bin_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace mt {

namespace {

constexpr size_t kWordSize = 8;
constexpr uint64_t kFilterMultiplier = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kTableMultiplier = 0xC2B2AE3D27D4EB4Full;

uint64_t LoadWord(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

int Log2AtLeast(size_t n) {
    int bits = 0;
    while ((size_t(1) << bits) < n) ++bits;
    return bits;
}

// Needles of 8 bytes (the mob ids of media databases): a hash table behind a filter of two
// bits in one word per needle, so that nearly every position of a bin is turned away by one
// look at memory that stays in the cache.
class WordSet {
public:
    explicit WordSet(const std::vector<std::pair<uint64_t, size_t>>& words) {
        const int filterBits = std::clamp(Log2AtLeast(words.size() * 32), 12, 26);
        filterShift_ = 64 - (filterBits - 6);
        filter_.assign(size_t(1) << (filterBits - 6), 0);
        const int tableBits = std::max(4, Log2AtLeast(words.size() * 2));
        tableShift_ = 64 - tableBits;
        keys_.assign(size_t(1) << tableBits, 0);
        needles_.assign(size_t(1) << tableBits, kEmpty);
        for (const auto& [word, needle] : words) {
            const uint64_t hash = word * kFilterMultiplier;
            filter_[hash >> filterShift_] |= FilterMask(hash);
            size_t slot = (word * kTableMultiplier) >> tableShift_;
            while (needles_[slot] != kEmpty) slot = (slot + 1) & (keys_.size() - 1);
            keys_[slot] = word;
            needles_[slot] = static_cast<uint32_t>(needle);
        }
    }

    // Marks each needle that starts at some position of data.
    void Scan(std::string_view data, std::vector<bool>& found, size_t& missing) const {
        if (data.size() < kWordSize) return;
        const char* p = data.data();
        const size_t last = data.size() - kWordSize;
        for (size_t i = 0; i <= last; ++i) {
            const uint64_t word = LoadWord(p + i);
            const uint64_t hash = word * kFilterMultiplier;
            const uint64_t mask = FilterMask(hash);
            if ((filter_[hash >> filterShift_] & mask) != mask) continue;
            for (size_t slot = (word * kTableMultiplier) >> tableShift_; needles_[slot] != kEmpty;
                 slot = (slot + 1) & (keys_.size() - 1)) {
                if (keys_[slot] == word) {
                    if (!found[needles_[slot]]) {
                        found[needles_[slot]] = true;
                        --missing;
                    }
                    break;
                }
            }
        }
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    // Two bits of a filter word, from middle bits of the hash (its top bits pick the word;
    // its lowest bits see only the first bytes of a needle).
    static uint64_t FilterMask(uint64_t hash) {
        return (uint64_t(1) << ((hash >> 26) & 63)) | (uint64_t(1) << ((hash >> 32) & 63));
    }
    int filterShift_ = 0;
    int tableShift_ = 0;
    std::vector<uint64_t> filter_;
    std::vector<uint64_t> keys_;
    std::vector<uint32_t> needles_;
};

}  // namespace

std::vector<bool> FindEach(ReadableFile& file, const std::vector<Bytes>& needles,
                           const std::function<void()>& afterPiece) {
    // Each distinct needle is looked for once.
    std::vector<Bytes> distinct;
    std::vector<size_t> distinctOf(needles.size(), SIZE_MAX);
    std::unordered_map<std::string_view, size_t> seen;
    for (size_t i = 0; i < needles.size(); ++i) {
        if (needles[i].empty()) continue;
        auto [it, added] = seen.try_emplace(needles[i], distinct.size());
        if (added) distinct.push_back(needles[i]);
        distinctOf[i] = it->second;
    }
    std::vector<bool> found(distinct.size(), false);
    size_t missing = distinct.size();

    std::vector<std::pair<uint64_t, size_t>> words;
    std::vector<size_t> others;
    size_t longest = 0;
    for (size_t k = 0; k < distinct.size(); ++k) {
        longest = std::max(longest, distinct[k].size());
        if (distinct[k].size() == kWordSize) {
            words.emplace_back(LoadWord(distinct[k].data()), k);
        } else {
            others.push_back(k);
        }
    }
    const WordSet wordSet(words);

    const size_t overlap = longest > 0 ? longest - 1 : 0;
    Bytes buffer(kBinSearchWindow + overlap, '\0');
    size_t kept = 0;
    uint64_t position = 0;
    while (missing > 0) {
        const size_t got = file.ReadAt(position, buffer.data() + kept, kBinSearchWindow);
        if (got == 0) break;
        position += got;
        const std::string_view piece(buffer.data(), kept + got);
        if (!words.empty()) wordSet.Scan(piece, found, missing);
        for (size_t k : others) {
            if (!found[k] && piece.find(distinct[k]) != std::string_view::npos) {
                found[k] = true;
                --missing;
            }
        }
        kept = std::min(overlap, piece.size());
        std::memmove(buffer.data(), buffer.data() + piece.size() - kept, kept);
        if (afterPiece) afterPiece();
    }

    std::vector<bool> result(needles.size(), false);
    for (size_t i = 0; i < needles.size(); ++i) {
        if (distinctOf[i] != SIZE_MAX) result[i] = found[distinctOf[i]];
    }
    return result;
}

}  // namespace mt
