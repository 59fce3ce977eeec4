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
constexpr uint32_t kVersion2 = 0x00020000;
constexpr std::string_view kFiller = "Mac OS X        ";

void PutBigEndian32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}
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

Bytes EncodeAppleDouble(const AppleDouble& metadata) {
    Bytes finderInfo = metadata.finderInfo ? metadata.finderInfo->substr(0, kFinderInfoSize) : "";
    finderInfo.resize(kFinderInfoSize, '\0');
    const uint16_t count = metadata.resourceFork ? 2 : 1;
    const size_t dataStart = kHeaderSize + count * kEntrySize;

    Bytes out;
    PutBigEndian32(out, kAppleDoubleMagic);
    PutBigEndian32(out, kVersion2);
    out += kFiller;
    out += static_cast<char>(count >> 8);
    out += static_cast<char>(count & 0xFF);
    PutBigEndian32(out, kFinderInfoEntry);
    PutBigEndian32(out, static_cast<uint32_t>(dataStart));
    PutBigEndian32(out, static_cast<uint32_t>(kFinderInfoSize));
    if (metadata.resourceFork) {
        PutBigEndian32(out, kResourceForkEntry);
        PutBigEndian32(out, static_cast<uint32_t>(dataStart + kFinderInfoSize));
        PutBigEndian32(out, static_cast<uint32_t>(metadata.resourceFork->size()));
    }
    out += finderInfo;
    if (metadata.resourceFork) out += *metadata.resourceFork;
    return out;
}

}  // namespace mt
