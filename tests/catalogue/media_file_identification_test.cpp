#include "catalogue/media_file_identification.h"

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "catalogue/media_file.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/realdata.h"
#include "fixtures/temp_folder.h"
#include "platform/binary_stream.h"

namespace mt {
namespace {

using fixtures::BuildMediaFileBytes;
using fixtures::LE16;
using fixtures::Payload;
using fixtures::TrailerOptions;

enum class Via { None, Sidecar, Attribute };

// Writes the file and its metadata into folder; the MediaFile that names it.
MediaFilePtr Place(FileSystem& fs, const std::string& folder, const Bytes& name,
                   const Bytes& content, const Bytes& type = {}, Via via = Via::None,
                   const std::optional<Bytes>& fork = std::nullopt) {
    const std::string path = folder + "/" + name;
    fixtures::WriteFileBytes(path, content);
    switch (via) {
        case Via::None: break;
        case Via::Sidecar: fixtures::WriteSidecar(path, type, "mtwk", fork); break;
        case Via::Attribute:
            if (!type.empty()) fixtures::SetFinderInfoAttribute(path, type);
            if (fork) fixtures::SetResourceForkAttribute(path, *fork);
            break;
    }
    auto file = std::make_shared<MediaFile>();
    file->filename = name;
    file->file = FolderItem::Volume(folder, fs).Child(name);
    return file;
}

Bytes Trailed(const Bytes& project, const TrailerOptions& options = {}, size_t payload = 100) {
    return BuildMediaFileBytes(project, payload, options).bytes;
}

// Patches one little-endian field of a trailed file; position from the layout.
Bytes TrailedWith(const std::function<void(fixtures::MediaFileBytes&)>& change,
                  const TrailerOptions& options = {}) {
    auto built = BuildMediaFileBytes("Spot30", 100, options);
    change(built);
    return built.bytes;
}

TrailerOptions Options(const std::function<void(TrailerOptions&)>& set) {
    TrailerOptions options;
    set(options);
    return options;
}

struct ProjectCase {
    const char* name;
    Bytes fileName;
    std::function<Bytes()> content;
    Bytes type;
    Via via;
    Bytes expected;
};

void PrintTo(const ProjectCase& c, std::ostream* os) { *os << c.name; }

class GetProjectFromFile : public ::testing::TestWithParam<ProjectCase> {
protected:
    fixtures::TempFolder temp;
};

TEST_P(GetProjectFromFile, ReadsTheTrailer) {
    const ProjectCase& c = GetParam();
    if (c.via == Via::Attribute && !fixtures::SupportsUserAttributes(temp.path())) {
        GTEST_SKIP() << "no user extended attributes here";
    }
    auto file = Place(RealFileSystem(), temp.path(), c.fileName, c.content(), c.type, c.via);
    EXPECT_EQ(file->GetProjectFromFile(), c.expected);
}

const Bytes k32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";

INSTANTIATE_TEST_SUITE_P(
    Cases, GetProjectFromFile,
    ::testing::Values(
        // Eligibility
        ProjectCase{"Omf", "clip.omf", [] { return Trailed("Spot30"); }, "", Via::None, "Spot30"},
        ProjectCase{"UpperCaseOmf", "CLIP.OMF", [] { return Trailed("Spot30"); }, "", Via::None,
                    "Spot30"},
        ProjectCase{"Aif", "take.aif", [] { return Trailed("Spot30"); }, "", Via::None, "Spot30"},
        ProjectCase{"MixedCaseWav", "take.Wav", [] { return Trailed("Spot30"); }, "", Via::None,
                    "Spot30"},
        ProjectCase{"LowerCaseAtmfInSidecar", "clip", [] { return Trailed("Spot30"); }, "atmf",
                    Via::Sidecar, "Spot30"},
        ProjectCase{"LowerCaseAtmfInAttribute", "clip", [] { return Trailed("Spot30"); }, "atmf",
                    Via::Attribute, "Spot30"},
        ProjectCase{"ATmfWithOtherEnding", "clip.dat", [] { return Trailed("Spot30"); }, "ATmf",
                    Via::Sidecar, "Spot30"},
        ProjectCase{"AIFFWithoutEnding", "clip", [] { return Trailed("Spot30"); }, "AIFF",
                    Via::Attribute, "Spot30"},
        ProjectCase{"OtherTypeOtherEnding", "clip.dat", [] { return Trailed("Spot30"); }, "MooV",
                    Via::Sidecar, ""},
        ProjectCase{"NoTypeNoEnding", "clip", [] { return Trailed("Spot30"); }, "", Via::None, ""},
        ProjectCase{"EndingWithoutDot", "clipomf", [] { return Trailed("Spot30"); }, "", Via::None,
                    ""},
        // The project field
        ProjectCase{"FieldWithoutNul", "clip.omf", [] { return Trailed(k32); }, "", Via::None, k32},
        ProjectCase{"FieldStartsWithNul", "clip.omf", [] { return Trailed(Bytes("\0Spot30", 7)); },
                    "", Via::None, ""},
        ProjectCase{"BytesAsStored", "clip.omf", [] { return Trailed("Caf\x8e \xff"); }, "",
                    Via::None, "Caf\x8e \xff"},
        ProjectCase{"LowerCaseMarker", "clip.omf",
                    [] { return Trailed("Spot30", Options([](auto& o) { o.marker = "_pj"; })); },
                    "", Via::None, "Spot30"},
        // The tail length at L - 4
        ProjectCase{"TailLengthZero", "clip.omf",
                    [] { return Trailed("Spot30", Options([](auto& o) { o.tailLength = 0; })); },
                    "", Via::None, ""},
        ProjectCase{"TailLengthNegative", "clip.omf",
                    [] { return Trailed("Spot30", Options([](auto& o) { o.tailLength = -44; })); },
                    "", Via::None, ""},
        ProjectCase{
            "TailLengthBeyondFile", "clip.omf",
            [] { return Trailed("Spot30", Options([](auto& o) { o.tailLength = 0x7FFF; })); }, "",
            Via::None, ""},
        ProjectCase{"TailIsWholeFile", "clip.omf",
                    [] {
                        return TrailedWith([](auto& b) {
                            fixtures::PatchLE16(b.bytes, b.bytes.size() - 4,
                                                static_cast<uint16_t>(b.bytes.size()));
                        });
                    },
                    "", Via::None, "Spot30"},
        ProjectCase{"MarkerOutsideTail", "clip.omf",
                    [] { return Trailed("Spot30", Options([](auto& o) { o.tailLength = 10; })); },
                    "", Via::None, ""},
        ProjectCase{"EmptyFile", "clip.omf", [] { return Bytes(); }, "", Via::None, ""},
        ProjectCase{"ThreeBytes", "clip.omf", [] { return Bytes("\x03\x00\x00", 3); }, "",
                    Via::None, ""},
        ProjectCase{"FourBytesNoMarker", "clip.omf", [] { return Bytes("\x04\x00\x00\x00", 4); },
                    "", Via::None, ""},
        // The marker
        ProjectCase{"MarkerAbsentWherePlainReadingFindsAName", "clip.omf",
                    [] {
                        // With no marker a plain reading takes the offset at (L - a) + 23;
                        // that offset points at a real project field here.
                        return TrailedWith(
                            [](auto& b) {
                                fixtures::PatchLE32(b.bytes, b.tailStart + 23,
                                                    static_cast<uint32_t>(b.projectOffset));
                            },
                            Options([](auto& o) { o.marker = "XPJ"; }));
                    },
                    "", Via::None, ""},
        ProjectCase{"MarkerInLastBytes", "clip.omf",
                    [] { return Payload(100) + "_PJ" + LE16(7) + Bytes(2, '\0'); }, "", Via::None,
                    ""},
        // The offset field and the value
        ProjectCase{"OffsetNegative", "clip.omf",
                    [] { return Trailed("Spot30", Options([](auto& o) { o.offset = -1; })); }, "",
                    Via::None, ""},
        ProjectCase{"OffsetAtEnd", "clip.omf",
                    [] {
                        return TrailedWith([](auto& b) {
                            fixtures::PatchLE32(b.bytes, b.offsetFieldPosition,
                                                static_cast<uint32_t>(b.bytes.size()));
                        });
                    },
                    "", Via::None, ""},
        ProjectCase{
            "OffsetFarBeyondEnd", "clip.omf",
            [] { return Trailed("Spot30", Options([](auto& o) { o.offset = 0x7FFFFFF0; })); }, "",
            Via::None, ""},
        ProjectCase{"OffsetAtLastByte", "clip.omf",
                    [] {
                        return TrailedWith(
                            [](auto& b) {
                                fixtures::PatchLE32(b.bytes, b.offsetFieldPosition,
                                                    static_cast<uint32_t>(b.bytes.size() - 1));
                            },
                            Options([](auto& o) { o.lastTwo = "YZ"; }));
                    },
                    "", Via::None, "Z"},
        ProjectCase{"ValueRunsPastEnd", "clip.omf",
                    [] {
                        // A tail of 0x0141 bytes puts "A\x01" at L - 4, "YZ" follow.
                        return TrailedWith(
                            [](auto& b) {
                                fixtures::PatchLE32(b.bytes, b.offsetFieldPosition,
                                                    static_cast<uint32_t>(b.bytes.size() - 4));
                            },
                            Options([](auto& o) {
                                o.tailPadding = 0x0141 - 36;
                                o.lastTwo = "YZ";
                            }));
                    },
                    "", Via::None, Bytes("A\x01YZ", 4)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetProjectFromFileTrailer, OffsetFieldLiesTwentyFourBytesAfterTheMarker) {
    // The worked example: L = 1000, a = 100, the marker at 910, the offset at 934.
    Bytes bytes(1000, 'x');
    fixtures::PatchLE16(bytes, 996, 100);
    bytes.replace(910, 3, "_PJ");
    fixtures::PatchLE32(bytes, 934, 200);
    bytes.replace(200, 32, fixtures::ProjectField("Worked"));
    MemoryFile data(bytes);
    EXPECT_EQ(ReadProjectFromTrailer(data), "Worked");
}

TEST(GetProjectFromFileTrailer, NoFileReferenceGivesEmptyText) {
    MediaFile file;
    file.filename = "clip.omf";
    EXPECT_EQ(file.GetProjectFromFile(), "");
}

TEST(GetProjectFromFileTrailer, OtherFileIsNeverOpened) {
    fixtures::TempFolder temp;
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    auto plain = Place(fs, temp.path(), "clip.mov", Trailed("Spot30"), "", Via::None);
    auto typed = Place(fs, temp.path(), "other.mov", Trailed("Spot30"), "MooV", Via::Sidecar);
    EXPECT_EQ(plain->GetProjectFromFile(), "");
    EXPECT_EQ(typed->GetProjectFromFile(), "");
    EXPECT_EQ(fs.CountCalls("OpenRead", temp.Path("clip.mov")), 0);
    EXPECT_EQ(fs.CountCalls("OpenRead", temp.Path("other.mov")), 0);
}

TEST(GetProjectFromFileTrailer, ReadsOnlyTheTailAndTheField) {
    fixtures::TempFolder temp;
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    auto file = Place(fs, temp.path(), "big.omf",
                      BuildMediaFileBytes("Spot30", 4 * 1024 * 1024).bytes, "", Via::None);
    EXPECT_EQ(file->GetProjectFromFile(), "Spot30");
    EXPECT_LE(fs.bytesRead(), 2u + 44u + 4u + 32u);
}

TEST(GetProjectFromFileTrailer, UnreadableFileGivesEmptyText) {
    // Runs as root too, where taking away the read permission blocks nothing.
    fixtures::TempFolder temp;
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    auto file = Place(fs, temp.path(), "clip.omf", Trailed("Spot30"), "", Via::None);
    fs.FailOpenRead(temp.Path("clip.omf"), EACCES);
    EXPECT_EQ(file->GetProjectFromFile(), "");
}

// Sound Designer II files keep the project in resource "OMF1" 1000, bytes 12 to 43.
Bytes Omf1Fork(const Bytes& resource, int16_t id = 1000) {
    return fixtures::BuildResourceFork(
        {{"STR ", 128, "other", std::nullopt}, {"OMF1", id, resource, std::nullopt}});
}
Bytes Omf1(const Bytes& project) { return Bytes(12, '\x07') + fixtures::ProjectField(project); }

void PrintTo(Via via, std::ostream* os) {
    *os << (via == Via::Sidecar ? "sidecar" : via == Via::Attribute ? "attributes" : "none");
}

class SoundDesignerFile : public ::testing::TestWithParam<Via> {
protected:
    void SetUp() override {
        if (GetParam() == Via::Attribute && !fixtures::SupportsUserAttributes(temp.path())) {
            GTEST_SKIP() << "no user extended attributes here";
        }
    }
    fixtures::TempFolder temp;
};

TEST_P(SoundDesignerFile, ProjectFromOmf1Resource) {
    struct Row {
        const char* what;
        Bytes name;
        Bytes data;
        Bytes type;
        std::optional<Bytes> fork;
        Bytes expected;
    };
    const Bytes noTrailer = Payload(3000);
    const std::vector<Row> rows = {
        {"by name", "voice.sd2", noTrailer, "", Omf1Fork(Omf1("Spot30")), "Spot30"},
        {"by name, upper case", "VOICE.SD2", noTrailer, "", Omf1Fork(Omf1("Spot30")), "Spot30"},
        {"by type", "voice", noTrailer, "Sd2f", Omf1Fork(Omf1("Spot30")), "Spot30"},
        {"name of 32 bytes", "voice.sd2", noTrailer, "", Omf1Fork(Omf1(k32)), k32},
        {"resource cut inside the name", "voice.sd2", noTrailer, "",
         Omf1Fork(Bytes(12, '\x07') + "Spo"), "Spo"},
        {"resource ends before the name", "voice.sd2", noTrailer, "", Omf1Fork(Bytes(12, 'x')), ""},
        {"resource of 5 bytes", "voice.sd2", noTrailer, "", Omf1Fork("abcde"), ""},
        {"other id", "voice.sd2", noTrailer, "", Omf1Fork(Omf1("Spot30"), 1001), ""},
        {"no fork", "voice.sd2", noTrailer, "", std::nullopt, ""},
        {"fork that is none", "voice.sd2", noTrailer, "", Bytes(400, '\xEE'), ""},
        {"trailer comes first", "voice.sd2", Trailed("FromTrailer"), "", Omf1Fork(Omf1("Spot30")),
         "FromTrailer"},
        {"other type is not read through the fork", "clip", noTrailer, "ATmf",
         Omf1Fork(Omf1("Spot30")), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fixtures::TempFolder folder;
        // The sidecar carries the type too; with attributes, an empty type writes none.
        auto file = Place(RealFileSystem(), folder.path(), row.name, row.data, row.type, GetParam(),
                          row.fork);
        EXPECT_EQ(file->GetProjectFromFile(), row.expected);
    }
}

TEST_P(SoundDesignerFile, UnopenableDataForkStillGivesTheResource) {
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    auto sd2 =
        Place(fs, temp.path(), "voice.sd2", Payload(300), "", GetParam(), Omf1Fork(Omf1("Spot30")));
    // A ".wav" of type "Sd2f" whose data fork cannot be opened is read through the fork too.
    auto wav = Place(fs, temp.path(), "voice.wav", Trailed("Other"), "Sd2f", GetParam(),
                     Omf1Fork(Omf1("Spot31")));
    fs.FailOpenRead(temp.Path("voice.sd2"), EACCES);
    fs.FailOpenRead(temp.Path("voice.wav"), EBUSY);
    EXPECT_EQ(sd2->GetProjectFromFile(), "Spot30");
    EXPECT_EQ(wav->GetProjectFromFile(), "Spot31");
}

INSTANTIATE_TEST_SUITE_P(Metadata, SoundDesignerFile,
                         ::testing::Values(Via::Sidecar, Via::Attribute), [](const auto& info) {
                             return std::string(info.param == Via::Sidecar ? "Sidecar"
                                                                           : "Attribute");
                         });

// Files written by other programs hold no project field.
TEST(GetProjectFromFileSamples, GiveEmptyText) {
    MT_REQUIRE_REALDATA();
    for (const char* relative : {"omf/Complx2x.omf", "omf/test.omf", "omf/example.omf",
                                 "wav/Laser.wav", "wav/RIFF.wav", "aif/AIFF.aif"}) {
        const std::string path = fixtures::RealDataPath(relative);
        const std::string folder = path.substr(0, path.rfind('/'));
        MediaFile file;
        file.filename = LastComponent(path);
        file.file = FolderItem::Volume(folder, RealFileSystem()).Child(file.filename);
        ASSERT_TRUE(file.file->Exists()) << path;
        EXPECT_EQ(file.GetProjectFromFile(), "") << relative;
    }
}

}  // namespace
}  // namespace mt
