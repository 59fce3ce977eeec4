#include "platform/resource_fork.h"

#include "platform/binary_stream.h"

namespace mt {

namespace {
constexpr size_t kHeaderSize = 16;
constexpr size_t kMapHeaderSize = 28;
constexpr size_t kTypeEntrySize = 8;
constexpr size_t kReferenceSize = 12;
// A map holds at most about 5,400 references; more means entries that point into each other.
// Counting every reference looked at, kept or not, bounds the work on such a map.
constexpr size_t kMostReferences = 65536;
}  // namespace

ResourceFork::ResourceFork(Bytes fork) : fork_(std::move(fork)) {
    const size_t size = fork_.size();
    if (size < kHeaderSize) return;
    const char* p = fork_.data();
    uint64_t dataOffset = BigEndian32(p);
    uint64_t mapOffset = BigEndian32(p + 4);
    uint64_t dataLength = BigEndian32(p + 8);
    uint64_t mapLength = BigEndian32(p + 12);
    if (dataOffset + dataLength > size || mapOffset + mapLength > size ||
        mapLength < kMapHeaderSize) {
        return;
    }
    const char* map = p + mapOffset;
    uint64_t typeListOffset = BigEndian16(map + 24);
    uint64_t nameListOffset = BigEndian16(map + 26);
    if (typeListOffset + 2 > mapLength) return;
    valid_ = true;
    const char* typeList = map + typeListOffset;
    // The count is stored minus one; 0xFFFF means an empty list.
    uint32_t typeCount = (BigEndian16(typeList) + 1u) & 0xFFFFu;
    size_t referencesSeen = 0;
    for (uint32_t t = 0; t < typeCount; ++t) {
        uint64_t entry = typeListOffset + 2 + t * kTypeEntrySize;
        if (entry + kTypeEntrySize > mapLength) break;
        const char* e = map + entry;
        Bytes type(e, 4);
        uint32_t refCount = BigEndian16(e + 4) + 1u;
        uint64_t refListOffset = typeListOffset + BigEndian16(e + 6);
        for (uint32_t r = 0; r < refCount && referencesSeen < kMostReferences; ++r) {
            ++referencesSeen;
            uint64_t ref = refListOffset + r * kReferenceSize;
            if (ref + kReferenceSize > mapLength) break;
            const char* rp = map + ref;
            ResourceInfo info;
            info.type = type;
            info.id = static_cast<int16_t>(BigEndian16(rp));
            uint16_t nameOffset = BigEndian16(rp + 2);
            uint32_t dataRel = BigEndian32(rp + 4) & 0x00FFFFFFu;
            uint64_t at = dataOffset + dataRel;
            if (dataRel + 4 > dataLength) continue;
            info.length = BigEndian32(p + at);
            if (dataRel + 4 + static_cast<uint64_t>(info.length) > dataLength) continue;
            if (nameOffset != 0xFFFF) {
                uint64_t nameAt = mapOffset + nameListOffset + nameOffset;
                if (nameListOffset + nameOffset < mapLength) {
                    uint64_t nameLength = static_cast<uint8_t>(p[nameAt]);
                    if (nameListOffset + nameOffset + 1 + nameLength <= mapLength) {
                        info.name.assign(p + nameAt + 1, nameLength);
                    }
                }
            }
            resources_.push_back(std::move(info));
            dataOffsets_.push_back(static_cast<uint32_t>(at + 4));
        }
    }
}

std::optional<Bytes> ResourceFork::Resource(std::string_view type, int16_t id) const {
    for (size_t i = 0; i < resources_.size(); ++i) {
        if (resources_[i].type == type && resources_[i].id == id) {
            return fork_.substr(dataOffsets_[i], resources_[i].length);
        }
    }
    return std::nullopt;
}

}  // namespace mt
