// Fuzzes the AppleDouble sidecar reader, then reads its resource fork entry as a fork.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "fuzz_resource_checks.h"
#include "platform/apple_double.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto sidecar = mt::ParseAppleDouble(bytes);
    if (!sidecar) return 0;
    MT_FUZZ_CHECK(size >= 26);
    MT_FUZZ_CHECK(bytes.compare(0, 3, std::string("\x00\x05\x16", 3)) == 0);
    if (sidecar->finderInfo) {
        MT_FUZZ_CHECK(sidecar->finderInfo->size() >= 8 && sidecar->finderInfo->size() <= 32);
        MT_FUZZ_CHECK(bytes.find(*sidecar->finderInfo) != std::string::npos);
    }
    if (sidecar->resourceFork) {
        MT_FUZZ_CHECK(sidecar->resourceFork->size() <= size);
        if (size <= 256 * 1024) {
            MT_FUZZ_CHECK(bytes.find(*sidecar->resourceFork) != std::string::npos);
        }
        CheckResourceFork(*sidecar->resourceFork);
    }
    return 0;
}
