// AppleDouble sidecars with entry tables that lie, overflow or repeat.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "byte_literals.h"
#include "platform/apple_double.h"

namespace mt::regressions {
namespace {

using Clock = std::chrono::steady_clock;

// Magic, version, 16 filler bytes; the entry count follows.
const Bytes kHeader = Hex("00051607 00020000") + Bytes(16, '\0');

Bytes Entry(uint32_t id, uint32_t offset, uint32_t length) {
    return BigEndian32Bytes(id) + BigEndian32Bytes(offset) + BigEndian32Bytes(length);
}

TEST(AppleDoubleRegressions, ShorterThanAHeaderIsNotASidecar) {
    EXPECT_EQ(ParseAppleDouble(Hex("00051607 00020000") + Bytes(17, '\0')), std::nullopt);
    EXPECT_EQ(ParseAppleDouble(""), std::nullopt);
}

TEST(AppleDoubleRegressions, EntryCountPastTheEndReadsTheEntriesThatAreThere) {
    auto none = ParseAppleDouble(kHeader + Hex("ffff"));
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->finderInfo, std::nullopt);
    EXPECT_EQ(none->resourceFork, std::nullopt);

    // One whole entry and half of another.
    auto one =
        ParseAppleDouble(kHeader + Hex("ffff") + Entry(2, 0, 4) + Entry(9, 0, 26).substr(0, 6));
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->resourceFork, Hex("00051607"));
    EXPECT_EQ(one->finderInfo, std::nullopt);
}

TEST(AppleDoubleRegressions, EntriesOutsideTheFileAreLeftOut) {
    const Bytes bytes = kHeader + Hex("0004") + Entry(2, 0xFFFFFFFF, 0xFFFFFFFF) +
                        Entry(9, 0xFFFFFFFF, 1) + Entry(2, 1, 0xFFFFFFFF) + Entry(9, 0, 75);
    ASSERT_EQ(bytes.size(), 74u);
    auto sidecar = ParseAppleDouble(bytes);
    ASSERT_TRUE(sidecar.has_value());
    EXPECT_EQ(sidecar->finderInfo, std::nullopt);
    EXPECT_EQ(sidecar->resourceFork, std::nullopt);
}

TEST(AppleDoubleRegressions, EmptyEntriesAtTheEnd) {
    // A resource fork of no bytes right at the end; Finder info of 7 bytes is too short.
    const Bytes bytes = kHeader + Hex("0002") + Entry(2, 50, 0) + Entry(9, 43, 7);
    ASSERT_EQ(bytes.size(), 50u);
    auto sidecar = ParseAppleDouble(bytes);
    ASSERT_TRUE(sidecar.has_value());
    EXPECT_EQ(sidecar->resourceFork, Bytes());
    EXPECT_EQ(sidecar->finderInfo, std::nullopt);
}

TEST(AppleDoubleRegressions, AppleSingleMagicAndLongFinderInfo) {
    Bytes bytes = Hex("00051600 00020000") + Bytes(16, '\0') + Hex("0001") + Entry(9, 38, 40) +
                  "Sd2fSd2a" + Bytes(32, 'f');
    auto sidecar = ParseAppleDouble(bytes);
    ASSERT_TRUE(sidecar.has_value());
    EXPECT_EQ(sidecar->finderInfo, "Sd2fSd2a" + Bytes(24, 'f'));
}

TEST(AppleDoubleRegressions, TheLastOfRepeatedEntriesCounts) {
    const Bytes bytes = kHeader + Hex("0004") + Entry(2, 74, 2) + Entry(9, 74, 8) +
                        Entry(2, 76, 3) + Entry(9, 79, 9) + "aaRRRFFFFFFFFF";
    ASSERT_EQ(bytes.size(), 88u);
    auto sidecar = ParseAppleDouble(bytes);
    ASSERT_TRUE(sidecar.has_value());
    EXPECT_EQ(sidecar->resourceFork, "RRR");
    EXPECT_EQ(sidecar->finderInfo, "FFFFFFFFF");
}

// 65,535 entries, every other one naming the whole 1 MB sidecar as the resource fork. Each
// was copied in turn, 32 GB of copying; only the last one is copied now.
TEST(AppleDoubleRegressions, ThousandsOfEntriesNamingTheWholeFileEndQuickly) {
    const uint32_t size = 1 << 20;
    Bytes bytes = kHeader + Hex("ffff");
    for (int i = 0; i < 0xFFFF; ++i) bytes += Entry(i % 2 ? 2 : 9, 0, size);
    bytes.resize(size, 'r');

    const auto start = Clock::now();
    auto sidecar = ParseAppleDouble(bytes);
    const auto seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ASSERT_TRUE(sidecar.has_value());
    EXPECT_EQ(sidecar->resourceFork, bytes);
    EXPECT_EQ(sidecar->finderInfo, bytes.substr(0, 32));
    EXPECT_LT(seconds, 10.0);
}

}  // namespace
}  // namespace mt::regressions
