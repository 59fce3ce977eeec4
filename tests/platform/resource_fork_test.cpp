#include "platform/resource_fork.h"

#include <functional>
#include <map>
#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/realdata.h"

namespace mt {
namespace {

using fixtures::BE16;
using fixtures::BE32;
using fixtures::BuildResourceFork;
using fixtures::ResourceForkLayout;
using fixtures::ResourceSpec;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Listed {
    Bytes type;
    int16_t id;
    uint32_t length;
    Bytes name;
    bool operator==(const Listed&) const = default;
};

void PrintTo(const Listed& l, std::ostream* os) {
    *os << "'" << l.type << "' " << l.id << " (" << l.length << " bytes) \"" << l.name << "\"";
}

std::vector<Listed> Listing(const ResourceFork& fork) {
    std::vector<Listed> out;
    for (const auto& r : fork.resources()) out.push_back({r.type, r.id, r.length, r.name});
    return out;
}

// What must hold for any input: every listed resource can be fetched, with its length.
void ExpectConsistent(const ResourceFork& fork) {
    for (const auto& r : fork.resources()) {
        auto data = fork.Resource(r.type, r.id);
        ASSERT_TRUE(data.has_value()) << "'" << r.type << "' " << r.id;
        // The first listed resource of that type and id is the one fetched.
        for (const auto& first : fork.resources()) {
            if (first.type == r.type && first.id == r.id) {
                EXPECT_EQ(data->size(), first.length);
                break;
            }
        }
    }
}

const std::vector<ResourceSpec> kThree = {
    {"OMF1", 1000, "project data", std::nullopt},
    {"STR ", 128, "hello", Bytes("greeting")},
    {"STR ", -16396, "", std::nullopt},
};

TEST(ResourceFork, ReadsWhatTheMapLists) {
    ResourceFork fork(BuildResourceFork(kThree));
    ASSERT_TRUE(fork.valid());
    EXPECT_THAT(Listing(fork),
                ElementsAre(Listed{"OMF1", 1000, 12, ""}, Listed{"STR ", 128, 5, "greeting"},
                            Listed{"STR ", -16396, 0, ""}));
    EXPECT_EQ(fork.Resource("OMF1", 1000), "project data");
    EXPECT_EQ(fork.Resource("STR ", 128), "hello");
    EXPECT_EQ(fork.Resource("STR ", -16396), "");
    EXPECT_EQ(fork.Resource("OMF1", 1001), std::nullopt);
    EXPECT_EQ(fork.Resource("omf1", 1000), std::nullopt) << "types are compared exactly";
    EXPECT_EQ(fork.Resource("OMF", 1000), std::nullopt);
}

TEST(ResourceFork, EmptyForkIsValidWithoutResources) {
    Bytes bytes = BuildResourceFork({});
    EXPECT_EQ(bytes.size(), 286u) << "the size of the standard empty fork";
    ResourceFork fork(bytes);
    EXPECT_TRUE(fork.valid());
    EXPECT_THAT(fork.resources(), IsEmpty());
}

TEST(ResourceFork, BytesThatAreNoForkAreInvalid) {
    for (const Bytes& bytes : {Bytes(), Bytes("short"), Bytes(15, '\0'), Bytes(16, '\0'),
                               Bytes(300, '\xFF'), fixtures::Payload(4096)}) {
        ResourceFork fork(bytes);
        EXPECT_FALSE(fork.valid()) << bytes.size() << " bytes";
        EXPECT_THAT(fork.resources(), IsEmpty());
    }
}

struct Damage {
    const char* name;
    std::function<void(Bytes&, const ResourceForkLayout&)> apply;
    bool valid;
    std::vector<Listed> left;
};

void Put16(Bytes& b, size_t at, uint16_t v) { b.replace(at, 2, BE16(v)); }
void Put32(Bytes& b, size_t at, uint32_t v) { b.replace(at, 4, BE32(v)); }

const Listed kOmf1{"OMF1", 1000, 12, ""};
const Listed kStr128{"STR ", 128, 5, "greeting"};
const Listed kStrNeg{"STR ", -16396, 0, ""};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class ResourceForkDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(ResourceForkDamage, LeavesOutWhatLiesOutside) {
    ResourceForkLayout layout;
    Bytes bytes = BuildResourceFork(kThree, &layout);
    GetParam().apply(bytes, layout);
    ResourceFork fork(bytes);
    EXPECT_EQ(fork.valid(), GetParam().valid);
    EXPECT_EQ(Listing(fork), GetParam().left);
    ExpectConsistent(fork);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResourceForkDamage,
    ::testing::Values(
        Damage{"MapOffsetBeyondFork",
               [](Bytes& b, const ResourceForkLayout&) {
                   Put32(b, 4, static_cast<uint32_t>(b.size() + 10));
               },
               false,
               {}},
        Damage{"MapOffsetHuge",
               [](Bytes& b, const ResourceForkLayout&) { Put32(b, 4, 0xFFFFFFF0u); },
               false,
               {}},
        Damage{"MapCutShort",
               [](Bytes& b, const ResourceForkLayout&) { b.resize(b.size() - 5); },
               false,
               {}},
        Damage{"MapLengthBelowItsHeader",
               [](Bytes& b, const ResourceForkLayout&) { Put32(b, 12, 20); },
               false,
               {}},
        Damage{"DataLengthBeyondFork",
               [](Bytes& b, const ResourceForkLayout&) { Put32(b, 8, 0xFFFFFF00u); },
               false,
               {}},
        Damage{"TypeListOffsetBeyondMap",
               [](Bytes& b, const ResourceForkLayout& l) { Put16(b, l.mapOffset + 24, 0xFFF0); },
               false,
               {}},
        Damage{"ReferenceListOfOneTypeOutsideMap",
               [](Bytes& b, const ResourceForkLayout& l) {
                   // The second type entry ("STR ") points far past the map.
                   Put16(b, l.mapOffset + l.typeListOffset + 2 + 8 + 6, 0xFF00);
               },
               true,
               {kOmf1}},
        Damage{"NameOffsetOutsideMap",
               [](Bytes& b, const ResourceForkLayout& l) {
                   Put16(b, l.referenceOffsets[1] + 2, 0xFFF0);
               },
               true,
               {kOmf1, Listed{"STR ", 128, 5, ""}, kStrNeg}},
        Damage{"NameLengthRunsPastMap",
               [](Bytes& b, const ResourceForkLayout& l) {
                   b[l.mapOffset + l.nameListOffset] = '\xFF';
               },
               true,
               {kOmf1, Listed{"STR ", 128, 5, ""}, kStrNeg}},
        Damage{"ResourceLengthBeyondData",
               [](Bytes& b, const ResourceForkLayout& l) { Put32(b, l.dataOffset, 5000); },
               true,
               {kStr128, kStrNeg}},
        Damage{"ResourceLengthHuge",
               [](Bytes& b, const ResourceForkLayout& l) { Put32(b, l.dataOffset, 0xFFFFFFFFu); },
               true,
               {kStr128, kStrNeg}},
        Damage{"ReferenceDataOffsetBeyondData",
               [](Bytes& b, const ResourceForkLayout& l) {
                   Put32(b, l.referenceOffsets[2] + 4, 0x00FFFFF0u);
               },
               true,
               {kOmf1, kStr128}},
        Damage{"ReferenceCountPastMap",
               [](Bytes& b, const ResourceForkLayout& l) {
                   Put16(b, l.mapOffset + l.typeListOffset + 2 + 8 + 4, 0xFFFE);
               },
               true,
               {kOmf1, kStr128, kStrNeg}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResourceFork, AnyCutOrAlteredForkIsReadSafely) {
    const Bytes good = BuildResourceFork(kThree);
    for (size_t size = 0; size <= good.size(); ++size) {
        ResourceFork fork(good.substr(0, size));
        ExpectConsistent(fork);
        if (size < good.size()) {
            EXPECT_FALSE(fork.valid()) << size;
        }
    }
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = good;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        }
        ResourceFork fork(bytes);
        ExpectConsistent(fork);
    }
}

// Sample forks written by the Mac and by other tools.
struct RealFork {
    const char* file;
    std::map<Bytes, int> countByType;
};

std::map<Bytes, int> CountByType(const ResourceFork& fork) {
    std::map<Bytes, int> counts;
    for (const auto& r : fork.resources()) ++counts[r.type];
    return counts;
}

TEST(ResourceFork, SampleForksListTheirResources) {
    MT_REQUIRE_REALDATA();
    const std::vector<RealFork> samples = {
        {"rsrc/testfile.rsrc", {{"STR ", 4}}},
        {"rsrc/empty.rsrc", {}},
        {"rsrc/Finder Help.rsrc",
         {{"vers", 2}, {"STR#", 31}, {"STR ", 20}, {"hmnu", 22}, {"fmap", 5}}},
        {"rsrc/DiskCopy6.rsrc", {{"STR ", 1}, {"bcem", 1}, {"bcm#", 1}, {"vers", 1}}},
        {"rsrc/Font.dfont", {{"sfnt", 1}, {"vers", 1}}},
        {"rsrc/unicode.textClipping.rsrc", {{"utxt", 1}, {"utf8", 1}, {"TEXT", 1}, {"drag", 1}}},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        auto bytes = fixtures::ReadFileBytes(fixtures::RealDataPath(sample.file));
        ASSERT_TRUE(bytes);
        ResourceFork fork(*bytes);
        EXPECT_TRUE(fork.valid());
        EXPECT_EQ(CountByType(fork), sample.countByType);
        ExpectConsistent(fork);
    }
}

TEST(ResourceFork, SampleForksGiveIdsNamesAndData) {
    MT_REQUIRE_REALDATA();
    auto testfile = fixtures::ReadFileBytes(fixtures::RealDataPath("rsrc/testfile.rsrc"));
    ASSERT_TRUE(testfile);
    ResourceFork fork(*testfile);
    EXPECT_THAT(Listing(fork),
                ElementsAre(Listed{"STR ", 128, 39, ""}, Listed{"STR ", 129, 40, "The Name"},
                            Listed{"STR ", 130, 45, ""},
                            Listed{"STR ", 131, 42, "The Name with Attributes"}));
    EXPECT_EQ(fork.Resource("STR ", 128), "&The String, without name or attributes");

    struct Id {
        const char* file;
        Bytes type;
        int16_t id;
    };
    for (const Id& want :
         {Id{"rsrc/DiskCopy6.rsrc", "STR ", -16396}, Id{"rsrc/DiskCopy6.rsrc", "bcem", 128},
          Id{"rsrc/DiskCopy6.rsrc", "bcm#", 128}, Id{"rsrc/DiskCopy6.rsrc", "vers", 1},
          Id{"rsrc/Font.dfont", "sfnt", 128}, Id{"rsrc/Font.dfont", "vers", 1},
          Id{"rsrc/unicode.textClipping.rsrc", "utxt", 256},
          Id{"rsrc/unicode.textClipping.rsrc", "utf8", 256},
          Id{"rsrc/unicode.textClipping.rsrc", "TEXT", 256},
          Id{"rsrc/unicode.textClipping.rsrc", "drag", 128}}) {
        auto bytes = fixtures::ReadFileBytes(fixtures::RealDataPath(want.file));
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(ResourceFork(*bytes).Resource(want.type, want.id).has_value())
            << want.file << " '" << want.type << "' " << want.id;
    }
}

}  // namespace
}  // namespace mt
