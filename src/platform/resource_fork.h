#pragma once
// Reader of a classic Mac resource fork: the resources by type and id, from the resource map.
// Any damage (truncated, overlapping or out-of-range map, data or names) makes the affected
// resources absent; nothing is read outside the given bytes.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace mt {

struct ResourceInfo {
    Bytes type;  // four bytes
    int16_t id = 0;
    Bytes name;  // empty when the resource has none
    uint32_t length = 0;
};

class ResourceFork {
public:
    explicit ResourceFork(Bytes fork);

    // False when the bytes are not a classic resource fork.
    bool valid() const { return valid_; }
    // Every resource the map lists whose data lies inside the fork, in map order.
    const std::vector<ResourceInfo>& resources() const { return resources_; }
    // The data of the resource of that type (compared exactly) and id, or nullopt.
    std::optional<Bytes> Resource(std::string_view type, int16_t id) const;

private:
    Bytes fork_;
    bool valid_ = false;
    std::vector<ResourceInfo> resources_;
    std::vector<uint32_t> dataOffsets_;  // where each resource's bytes start in fork_
};

}  // namespace mt
