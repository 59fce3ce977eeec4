#pragma once
// The checks shared by the fuzz targets that read a resource fork.

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz_check.h"
#include "platform/resource_fork.h"

// Reads the bytes as a resource fork and checks the resources it lists: their data and
// names lie within the bytes, and a fetch by type and id gives the first one listed.
inline void CheckResourceFork(const std::string& bytes) {
    mt::ResourceFork fork(bytes);
    const auto& resources = fork.resources();
    if (!fork.valid()) MT_FUZZ_CHECK(resources.empty());
    // Maps whose entries point into each other are cut off there.
    MT_FUZZ_CHECK(resources.size() <= 65536);

    std::map<std::pair<std::string, int16_t>, uint32_t> firstLength;
    for (const mt::ResourceInfo& info : resources) {
        MT_FUZZ_CHECK(info.type.size() == 4);
        MT_FUZZ_CHECK(info.name.size() <= 255);
        MT_FUZZ_CHECK(static_cast<uint64_t>(info.length) + 4 <= bytes.size());
        firstLength.emplace(std::make_pair(info.type, info.id), info.length);
    }

    // A fetch is a search of the list, and finding its data in the bytes a search of the
    // bytes: fetch a bounded number, and look for the data of fewer still.
    const size_t fetches = std::min<size_t>(resources.size(), 256);
    const size_t searches = bytes.size() <= 256 * 1024 ? 16 : 0;
    for (size_t i = 0; i < fetches; ++i) {
        const mt::ResourceInfo& info = resources[i];
        auto resource = fork.Resource(info.type, info.id);
        MT_FUZZ_CHECK(resource.has_value());
        MT_FUZZ_CHECK(resource->size() == firstLength[{info.type, info.id}]);
        if (i < searches) {
            MT_FUZZ_CHECK(std::string_view(bytes).find(*resource) != std::string_view::npos);
            MT_FUZZ_CHECK(std::string_view(bytes).find(info.name) != std::string_view::npos);
        }
    }
    if (!resources.empty()) {
        const mt::ResourceInfo& last = resources.back();
        auto resource = fork.Resource(last.type, last.id);
        MT_FUZZ_CHECK(resource && resource->size() == firstLength[{last.type, last.id}]);
    }
    // Types are compared exactly: a type of another length is never found.
    MT_FUZZ_CHECK(!fork.Resource("", 0).has_value());
    MT_FUZZ_CHECK(!fork.Resource("OMF1x", 1000).has_value());
}
