// Resource forks whose maps point into themselves, overflow or never end.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string_view>

#include "byte_literals.h"
#include "catalogue/media_file_identification.h"
#include "platform/resource_fork.h"

namespace mt::regressions {
namespace {

using Clock = std::chrono::steady_clock;

// Every listed resource is fetched with the length of the first one of its type and id, and
// its data and name lie within the fork.
void ExpectConsistent(const Bytes& bytes, const ResourceFork& fork) {
    for (const ResourceInfo& info : fork.resources()) {
        ASSERT_EQ(info.type.size(), 4u);
        ASSERT_LE(uint64_t{info.length} + 4, bytes.size());
        auto data = fork.Resource(info.type, info.id);
        ASSERT_TRUE(data.has_value());
        for (const ResourceInfo& first : fork.resources()) {
            if (first.type == info.type && first.id == info.id) {
                ASSERT_EQ(data->size(), first.length);
                break;
            }
        }
        ASSERT_NE(std::string_view(bytes).find(*data), std::string_view::npos);
        ASSERT_NE(std::string_view(bytes).find(info.name), std::string_view::npos);
    }
}

// A fork with one resource 'OMF1' 1000: data at 16 (its length field, then "ABCD"), the map
// at 24, the type list at map + 28, the reference at map + 38, the name list at map + 50.
const Bytes kSmallFork =
    Hex("00000010 00000018 00000008 00000032"  // data at 16 (8 bytes), map at 24 (50 bytes)
        "00000004 41424344"                    // the data: length 4, "ABCD"
        "00000000 00000000 00000000 00000000"  // map: copy of the header
        "00000000 0000 0000"                   // handle, file reference, attributes
        "001c 0032"                            // type list at 28, name list at 50
        "0000 4f4d4631 0000 000a"              // one type 'OMF1' of one reference at 28 + 10
        "03e8 ffff 00000000 00000000");        // id 1000, no name, data at 0

constexpr size_t kReferenceAt = 24 + 38;
constexpr size_t kNameListOffsetAt = 24 + 26;

TEST(ResourceForkRegressions, SmallForkListsItsOneResource) {
    ResourceFork fork(kSmallFork);
    ASSERT_TRUE(fork.valid());
    ASSERT_EQ(fork.resources().size(), 1u);
    EXPECT_EQ(fork.Resource("OMF1", 1000), Bytes("ABCD"));
    ExpectConsistent(kSmallFork, fork);
}

TEST(ResourceForkRegressions, DataLengthOfAllOnesLeavesTheResourceOut) {
    Bytes bytes = kSmallFork;
    bytes.replace(16, 4, Hex("ffffffff"));
    ResourceFork fork(bytes);
    EXPECT_TRUE(fork.valid());
    EXPECT_TRUE(fork.resources().empty());
    EXPECT_EQ(fork.Resource("OMF1", 1000), std::nullopt);
    EXPECT_EQ(ReadProjectFromOmf1Resource(bytes), std::nullopt);
}

TEST(ResourceForkRegressions, DataOffsetPastTheDataLeavesTheResourceOut) {
    Bytes bytes = kSmallFork;
    bytes.replace(kReferenceAt + 4, 4, Hex("00fffffd"));
    ResourceFork fork(bytes);
    EXPECT_TRUE(fork.resources().empty());
}

TEST(ResourceForkRegressions, NameRunningPastTheMapIsLeftOut) {
    Bytes bytes = kSmallFork;
    bytes.replace(kNameListOffsetAt, 2, Hex("0031"));  // name list at the map's last byte
    bytes.replace(kReferenceAt + 2, 2, Hex("0000"));   // the name is there
    bytes.back() = '\xff';                             // and says it has 255 bytes
    ResourceFork fork(bytes);
    ASSERT_EQ(fork.resources().size(), 1u);
    EXPECT_EQ(fork.resources()[0].name, "");
    EXPECT_EQ(fork.Resource("OMF1", 1000), Bytes("ABCD"));
}

TEST(ResourceForkRegressions, OffsetsWhoseSumPasses32BitsAreNotAFork) {
    Bytes bytes = kSmallFork;
    bytes.replace(0, 16, Hex("fffffff0 00000018 00000020 00000032"));
    EXPECT_FALSE(ResourceFork(bytes).valid());
    bytes.replace(0, 16, Hex("00000010 ffffffff 00000008 00000002"));
    EXPECT_FALSE(ResourceFork(bytes).valid());
}

TEST(ResourceForkRegressions, MapShorterThanItsHeaderIsNotAFork) {
    Bytes bytes = kSmallFork;
    bytes.replace(12, 4, Hex("0000001b"));
    EXPECT_FALSE(ResourceFork(bytes).valid());
    EXPECT_FALSE(ResourceFork(Bytes(15, '\0')).valid());
}

// Data and map are both the whole fork; the type list claims 65,535 types and its first type
// 65,536 references that are the type list itself.
TEST(ResourceForkRegressions, MapThatIsItsOwnReferenceList) {
    const Bytes bytes =
        Hex("00000000 00000000 00000040 00000040"  // data and map: the whole 64 bytes
            "00000000 00000000 001c 0000"          // type list at 28, names at 0
            "fffe"                                 // 65,535 types
            "4f4d4631 ffff 0000"                   // 'OMF1': 65,536 references at the type list
            "03e8 ffff 00000000 00000000"
            "4f4d4631 0000 0010 00000000 0000");
    ASSERT_EQ(bytes.size(), 64u);
    ResourceFork fork(bytes);
    ASSERT_TRUE(fork.valid());
    ASSERT_EQ(fork.resources().size(), 1u);
    EXPECT_EQ(fork.resources()[0].type, "OMF1");
    EXPECT_EQ(fork.resources()[0].id, -1);
    EXPECT_EQ(fork.resources()[0].length, 0u);
    ExpectConsistent(bytes, fork);
    EXPECT_EQ(ReadProjectFromOmf1Resource(bytes), std::nullopt);
}

// A map of 65,535 types that all share one list of references whose data lies outside the
// fork. Each reference was looked at once per type: 65,535 x 43,690 steps, minutes of work
// for a 512 KB sidecar. The references looked at are now counted and bounded.
TEST(ResourceForkRegressions, TypesSharingOneListOfBadReferencesEndQuickly) {
    const size_t types = 65535;
    const size_t mapLength = 28 + 2 + 8 * types;
    Bytes bytes = BigEndian32Bytes(16) + BigEndian32Bytes(16) + BigEndian32Bytes(0) +
                  BigEndian32Bytes(static_cast<uint32_t>(mapLength));
    bytes += Bytes(24, '\0') + BigEndian16Bytes(28) + BigEndian16Bytes(0);
    bytes += BigEndian16Bytes(static_cast<uint16_t>(types - 1));
    for (size_t t = 0; t < types; ++t)
        bytes += "OMF1" + BigEndian16Bytes(0xFFFF) + BigEndian16Bytes(0);
    ASSERT_EQ(bytes.size(), 16 + mapLength);

    const auto start = Clock::now();
    ResourceFork fork(bytes);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_TRUE(fork.valid());
    EXPECT_TRUE(fork.resources().empty());
    EXPECT_EQ(ReadProjectFromOmf1Resource(bytes), std::nullopt);
    EXPECT_LT(seconds, 10.0);
}

// Types that share one list of good references: the listing stops at 65,536 resources.
TEST(ResourceForkRegressions, TypesSharingOneListOfGoodReferencesAreCut) {
    const size_t types = 4096;
    const size_t references = 4096;
    const size_t mapLength = 28 + 2 + 8 * types + 12 * references;
    Bytes bytes = BigEndian32Bytes(16) + BigEndian32Bytes(20) + BigEndian32Bytes(4) +
                  BigEndian32Bytes(static_cast<uint32_t>(mapLength));
    bytes += Hex("00000000");  // the one datum: empty
    bytes += Bytes(24, '\0') + BigEndian16Bytes(28) + BigEndian16Bytes(0);
    bytes += BigEndian16Bytes(static_cast<uint16_t>(types - 1));
    const auto listOffset = static_cast<uint16_t>(2 + 8 * types);
    for (size_t t = 0; t < types; ++t) {
        bytes += BigEndian32Bytes(static_cast<uint32_t>(t)) +
                 BigEndian16Bytes(static_cast<uint16_t>(references - 1)) +
                 BigEndian16Bytes(listOffset);
    }
    for (size_t r = 0; r < references; ++r) {
        bytes +=
            BigEndian16Bytes(static_cast<uint16_t>(r)) + BigEndian16Bytes(0xFFFF) + Bytes(8, '\0');
    }
    ASSERT_EQ(bytes.size(), 20 + mapLength);

    ResourceFork fork(bytes);
    ASSERT_TRUE(fork.valid());
    EXPECT_EQ(fork.resources().size(), 65536u);
    EXPECT_EQ(fork.Resource(BigEndian32Bytes(15), 4095), Bytes());
    EXPECT_EQ(fork.Resource(BigEndian32Bytes(16), 0), std::nullopt);
}

}  // namespace
}  // namespace mt::regressions
