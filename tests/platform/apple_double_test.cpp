#include "platform/apple_double.h"

#include <array>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/realdata.h"
#include "platform/resource_fork.h"

namespace mt {
namespace {

using fixtures::AppleDoubleEntry;
using fixtures::BE16;
using fixtures::BE32;
using fixtures::BuildAppleDouble;
using fixtures::BuildResourceFork;
using fixtures::FinderInfo;

constexpr uint32_t kResourceFork = 2;
constexpr uint32_t kFinderInfo = 9;

TEST(AppleDouble, ReadsFinderInfoAndResourceFork) {
    const Bytes fork = BuildResourceFork({{"OMF1", 1000, "x", std::nullopt}});
    auto parsed = ParseAppleDouble(BuildAppleDouble(
        {{3, "real name"}, {kFinderInfo, FinderInfo("Sd2f", "Sd2a")}, {kResourceFork, fork}}));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->finderInfo, FinderInfo("Sd2f", "Sd2a"));
    EXPECT_EQ(parsed->resourceFork, fork);
}

TEST(AppleDouble, WrittenAsMacOsWritesItAndReadBack) {
    const Bytes fork = BuildResourceFork({{"OMF1", 1000, "x", std::nullopt}});
    struct Row {
        const char* what;
        AppleDouble metadata;
        AppleDouble expected;  // as read back
    };
    const Bytes none(32, '\0');
    const std::vector<Row> rows = {
        {"both", {FinderInfo("Sd2f", "Sd2a"), fork}, {FinderInfo("Sd2f", "Sd2a"), fork}},
        {"Finder info only",
         {FinderInfo("ATmf"), std::nullopt},
         {FinderInfo("ATmf"), std::nullopt}},
        {"fork only: zero Finder info", {std::nullopt, fork}, {none, fork}},
        {"short Finder info is padded",
         {Bytes("AIFF"), std::nullopt},
         {Bytes("AIFF") + Bytes(28, '\0'), std::nullopt}},
        {"empty fork", {FinderInfo("Sd2f"), Bytes()}, {FinderInfo("Sd2f"), Bytes()}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Bytes bytes = EncodeAppleDouble(row.metadata);
        EXPECT_EQ(bytes.substr(0, 8), BE32(0x00051607) + BE32(0x00020000));
        EXPECT_EQ(bytes.substr(8, 16), "Mac OS X        ");
        EXPECT_EQ(bytes.substr(24, 2), BE16(row.metadata.resourceFork ? 2 : 1));
        // The Finder info comes first, 32 bytes long.
        EXPECT_EQ(
            bytes.substr(26, 12),
            BE32(kFinderInfo) + BE32(26 + 12 * (row.metadata.resourceFork ? 2 : 1)) + BE32(32));
        auto parsed = ParseAppleDouble(bytes);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->finderInfo, row.expected.finderInfo);
        EXPECT_EQ(parsed->resourceFork, row.expected.resourceFork);
    }
}

TEST(AppleDouble, LongFinderInfoEntryGivesItsFirst32Bytes) {
    // macOS writes the Finder info entry 3760 bytes long, extended attributes after it.
    Bytes entry = FinderInfo("ATmf", "AvMC") + Bytes(3760 - 32, 'A');
    auto parsed = ParseAppleDouble(BuildAppleDouble({{kFinderInfo, entry}}));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->finderInfo, FinderInfo("ATmf", "AvMC"));
    EXPECT_FALSE(parsed->resourceFork);
}

TEST(AppleDouble, AppleSingleIsReadToo) {
    Bytes bytes = BuildAppleDouble({{kFinderInfo, FinderInfo("AIFF")}});
    bytes.replace(0, 4, BE32(0x00051600));
    auto parsed = ParseAppleDouble(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->finderInfo, FinderInfo("AIFF"));
}

struct Malformed {
    const char* name;
    Bytes bytes;
    bool parses;
    bool hasFinderInfo;
    bool hasResourceFork;
};

Bytes WithEntryTable(uint16_t count, const std::vector<std::array<uint32_t, 3>>& entries,
                     size_t totalSize) {
    Bytes out = BE32(0x00051607) + BE32(0x00020000) + Bytes(16, '\0') + BE16(count);
    for (const auto& e : entries) out += BE32(e[0]) + BE32(e[1]) + BE32(e[2]);
    out.resize(std::max(out.size(), totalSize), 'x');
    return out;
}

void PrintTo(const Malformed& m, std::ostream* os) { *os << m.name; }

class AppleDoubleMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(AppleDoubleMalformed, GivesWhatLiesInside) {
    const Malformed& m = GetParam();
    auto parsed = ParseAppleDouble(m.bytes);
    ASSERT_EQ(parsed.has_value(), m.parses);
    if (!parsed) return;
    EXPECT_EQ(parsed->finderInfo.has_value(), m.hasFinderInfo);
    EXPECT_EQ(parsed->resourceFork.has_value(), m.hasResourceFork);
    if (parsed->finderInfo) {
        EXPECT_LE(parsed->finderInfo->size(), 32u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppleDoubleMalformed,
    ::testing::Values(
        Malformed{"Empty", "", false, false, false},
        Malformed{"ShorterThanHeader", BuildAppleDouble({}).substr(0, 25), false, false, false},
        Malformed{"BadMagic", Bytes("\x00\x05\x16\x08", 4) + BuildAppleDouble({}).substr(4), false,
                  false, false},
        Malformed{"TextFile", Bytes(100, 'a'), false, false, false},
        Malformed{"NoEntries", BuildAppleDouble({}), true, false, false},
        Malformed{"CountBeyondTable", WithEntryTable(5000, {{9, 38, 32}}, 70), true, true, false},
        Malformed{"FinderInfoRunsPastEnd", WithEntryTable(2, {{9, 50, 32}, {2, 50, 4}}, 60), true,
                  false, true},
        Malformed{"ForkOffsetPastEnd", WithEntryTable(1, {{2, 0xFFFFFFF0u, 16}}, 100), true, false,
                  false},
        Malformed{"ForkLengthHuge", WithEntryTable(1, {{2, 38, 0xFFFFFFFFu}}, 100), true, false,
                  false},
        Malformed{"FinderInfoTooShort", WithEntryTable(1, {{9, 38, 4}}, 100), true, false, false},
        Malformed{"UnknownEntriesOnly", WithEntryTable(2, {{1, 50, 4}, {77, 50, 4}}, 60), true,
                  false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppleDouble, AnyCutSidecarIsReadSafely) {
    const Bytes full = BuildAppleDouble(
        {{kFinderInfo, FinderInfo("ATmf")}, {kResourceFork, BuildResourceFork({})}});
    for (size_t size = 0; size <= full.size(); ++size) {
        auto parsed = ParseAppleDouble(std::string_view(full).substr(0, size));
        if (size < 26) {
            EXPECT_FALSE(parsed) << size;
            continue;
        }
        ASSERT_TRUE(parsed) << size;
        // The fork is the last entry: whole or absent, never cut.
        if (parsed->resourceFork) {
            EXPECT_EQ(parsed->resourceFork->size(), 286u) << size;
        }
    }
}

// Sidecars written by macOS and by other tools.
struct RealSidecar {
    const char* file;
    Bytes type;  // first four bytes of the Finder info
    size_t forkSize;
    std::vector<std::tuple<Bytes, int16_t, uint32_t, Bytes>> resources;  // type, id, length, name
    bool classicFork;
};

TEST(AppleDouble, SampleSidecars) {
    MT_REQUIRE_REALDATA();
    const std::vector<RealSidecar> samples = {
        {"appledouble/ciderpress2/._gshk.docs",
         "TEXT",
         575,
         {{"MPSR", 1005, 72, ""}, {"MPSR", 1008, 30, ""}, {"ckid", 128, 113, "Projector"}},
         true},
        {"appledouble/ciderpress2/._GSHK", Bytes("\x70\xb3\xdb\x07", 4), 18063, {}, false},
        {"appledouble/ciderpress2/._Installer Disk 1.image",
         "dImg",
         359,
         {{"dCpy", 0, 49, ""}},
         true},
        {"appledouble/exiftool/MacOS.macos", Bytes(4, '\0'), 286, {}, true},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        auto bytes = fixtures::ReadFileBytes(fixtures::RealDataPath(sample.file));
        ASSERT_TRUE(bytes);
        auto parsed = ParseAppleDouble(*bytes);
        ASSERT_TRUE(parsed);
        ASSERT_TRUE(parsed->finderInfo);
        EXPECT_EQ(parsed->finderInfo->size(), 32u);
        EXPECT_EQ(parsed->finderInfo->substr(0, 4), sample.type);
        ASSERT_TRUE(parsed->resourceFork);
        EXPECT_EQ(parsed->resourceFork->size(), sample.forkSize);

        ResourceFork fork(*parsed->resourceFork);
        EXPECT_EQ(fork.valid(), sample.classicFork);
        std::vector<std::tuple<Bytes, int16_t, uint32_t, Bytes>> listed;
        for (const auto& r : fork.resources()) listed.emplace_back(r.type, r.id, r.length, r.name);
        EXPECT_EQ(listed, sample.resources);
    }
}

}  // namespace
}  // namespace mt
