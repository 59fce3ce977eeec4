// Fuzzes the resource fork reader: lists the resources, fetches each by type and id, and
// checks that what comes back is what the map says and lies within the given bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "fuzz_resource_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckResourceFork(bytes);
    return 0;
}
