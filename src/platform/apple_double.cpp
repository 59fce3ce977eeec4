#include "platform/apple_double.h"

#include <algorithm>

#include "platform/binary_stream.h"

namespace mt {

namespace {
constexpr uint32_t kAppleDoubleMagic = 0x00051607;
constexpr uint32_t kAppleSingleMagic = 0x00051600;
constexpr uint32_t kResourceForkEntry = 2;
constexpr uint32_t kFinderInfoEntry = 9;
constexpr size_t kHeaderSize = 26;
constexpr size_t kEntrySize = 12;
constexpr size_t kFinderInfoSize = 32;
}  // namespace

std::optional<AppleDouble> ParseAppleDouble(std::string_view bytes) {
    if (bytes.size() < kHeaderSize) return std::nullopt;
    const char* p = bytes.data();
    uint32_t magic = BigEndian32(p);
    if (magic != kAppleDoubleMagic && magic != kAppleSingleMagic) return std::nullopt;
    size_t count = BigEndian16(p + 24);
    // The last entry of each kind counts; it is copied once, as an entry table may repeat
    // a large entry thousands of times.
    std::optional<std::string_view> finderInfo;
    std::optional<std::string_view> resourceFork;
    for (size_t i = 0; i < count; ++i) {
        size_t at = kHeaderSize + i * kEntrySize;
        if (at + kEntrySize > bytes.size()) break;
        uint32_t id = BigEndian32(p + at);
        uint64_t offset = BigEndian32(p + at + 4);
        uint64_t length = BigEndian32(p + at + 8);
        if (offset + length > bytes.size()) continue;
        if (id == kFinderInfoEntry && length >= 8) {
            // macOS writes a 3,760-byte entry whose first 32 bytes are the Finder info.
            finderInfo = bytes.substr(offset, std::min<uint64_t>(length, kFinderInfoSize));
        } else if (id == kResourceForkEntry) {
            resourceFork = bytes.substr(offset, length);
        }
    }
    AppleDouble result;
    if (finderInfo) result.finderInfo = Bytes(*finderInfo);
    if (resourceFork) result.resourceFork = Bytes(*resourceFork);
    return result;
}

}  // namespace mt
