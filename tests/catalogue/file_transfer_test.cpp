// Sifting, unsifting and copying single media files, with the messages they leave.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "catalogue/folder_item_extension.h"
#include "catalogue/media_file.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "platform/apple_double.h"
#include "platform/resource_fork.h"

namespace mt {
namespace {

using fixtures::Checksum;
using fixtures::ListFolder;
using fixtures::ListTree;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TransferTest : public ::testing::Test {
protected:
    // A media file record for volume/relative, as the folder scan makes it.
    MediaFilePtr Record(const std::string& relative, const Bytes& project, FileSystem& fs) {
        auto file = std::make_shared<MediaFile>();
        file->file = fixtures::ItemOnVolume(volume, relative, fs);
        file->filename = file->file->Name();
        file->project = project;
        return file;
    }
    std::string Put(const std::string& relative, size_t size = 1000, unsigned seed = 1) {
        const std::string path = volume + "/" + relative;
        fixtures::WriteFileWithoutTrailer(path, size, seed);
        return path;
    }
    std::string InMedia(const std::string& relative) const { return media + "/" + relative; }

    fixtures::TempFolder temp;
    std::string volume = fixtures::MakeVolume(temp.path(), "Media");
    std::string media = fixtures::MakeMediaFolder(volume);
};

// --- Sifting

TEST_F(TransferTest, SiftMakesTheProjectFolderAndReusesIt) {
    const std::string a = Put("OMFI MediaFiles/a.omf", 1000, 1);
    const std::string b = Put("OMFI MediaFiles/b.omf", 2000, 2);
    const auto sumA = Checksum(a), sumB = Checksum(b);

    auto first = Record("OMFI MediaFiles/a.omf", "Spot30", RealFileSystem());
    first->SiftFile();
    EXPECT_EQ(first->error, "");
    auto second = Record("OMFI MediaFiles/b.omf", "Spot30", RealFileSystem());
    second->SiftFile();
    EXPECT_EQ(second->error, "");

    EXPECT_THAT(ListTree(media),
                ElementsAre("Spot30_sifted/", "Spot30_sifted/a.omf", "Spot30_sifted/b.omf"));
    EXPECT_EQ(Checksum(InMedia("Spot30_sifted/a.omf")), sumA);
    EXPECT_EQ(Checksum(InMedia("Spot30_sifted/b.omf")), sumB);
    EXPECT_EQ(first->filename, "a.omf") << "the record is left as it was";
    EXPECT_EQ(first->file->ShellPath(), a);
}

TEST_F(TransferTest, EmptyProjectSiftsIntoUnderscoreSifted) {
    Put("OMFI MediaFiles/a.omf");
    auto file = Record("OMFI MediaFiles/a.omf", "", RealFileSystem());
    file->SiftFile();
    EXPECT_EQ(file->error, "");
    EXPECT_THAT(ListTree(media), ElementsAre("_sifted/", "_sifted/a.omf"));
}

TEST_F(TransferTest, FileFoundByTheScanSiftsIntoItsProjectsFolder) {
    // The scan shows the file under its project and the folder it was found in; its sifted
    // folder is named after the project alone.
    Put("OMFI MediaFiles/a.omf");
    Put("OMFI MediaFiles/b.omf", 1000, 2);
    auto scanned = Record("OMFI MediaFiles/a.omf", "Spot30[OMFI MediaFiles]", RealFileSystem());
    scanned->fileproject = "Spot30";
    auto nameless = Record("OMFI MediaFiles/b.omf", "[OMFI MediaFiles]", RealFileSystem());
    nameless->fileproject = "";
    EXPECT_EQ(scanned->SiftedFolderName(), "Spot30_sifted");

    scanned->SiftFile();
    nameless->SiftFile();

    EXPECT_EQ(scanned->error, "");
    EXPECT_EQ(nameless->error, "");
    EXPECT_THAT(ListTree(media),
                ElementsAre("Spot30_sifted/", "Spot30_sifted/a.omf", "_sifted/", "_sifted/b.omf"));
}

TEST_F(TransferTest, SiftFindsTheProjectFolderInAnyLetterCase) {
    Put("OMFI MediaFiles/a.omf");
    Put("OMFI MediaFiles/b.omf", 1000, 2);
    Put("OMFI MediaFiles/c.omf", 1000, 3);
    fixtures::MakeFolder(InMedia("SPOT30_SIFTED"));
    // A file in the way of one spelling does not hide a folder of another.
    Put("OMFI MediaFiles/Trailer_sifted", 10, 9);
    fixtures::MakeFolder(InMedia("trailer_SIFTED"));

    for (auto [name, project] : {std::pair{"a.omf", "Spot30"}, std::pair{"b.omf", "spot30"},
                                 std::pair{"c.omf", "Trailer"}}) {
        auto file = Record(std::string("OMFI MediaFiles/") + name, project, RealFileSystem());
        file->SiftFile();
        EXPECT_EQ(file->error, "") << name;
    }

    EXPECT_THAT(ListTree(media),
                ElementsAre("SPOT30_SIFTED/", "SPOT30_SIFTED/a.omf", "SPOT30_SIFTED/b.omf",
                            "Trailer_sifted", "trailer_SIFTED/", "trailer_SIFTED/c.omf"));
}

TEST_F(TransferTest, SiftLeavesFilesOutsideTheMediaFolderAlone) {
    fixtures::MakeFolder(InMedia("Spot30_sifted"));
    fixtures::MakeFolder(volume + "/My Media");
    Put("OMFI MediaFiles/Spot30_sifted/in-sifted.omf");
    Put("My Media/added.omf");
    Put("top.omf");
    const auto before = ListTree(temp.path());
    for (const char* relative : {"OMFI MediaFiles/Spot30_sifted/in-sifted.omf",
                                 "My Media/added.omf", "top.omf", "OMFI MediaFiles/gone.omf"}) {
        auto file = Record(relative, "Spot30", RealFileSystem());
        file->SiftFile();
        EXPECT_EQ(file->error, "") << relative;
    }
    MediaFile noReference;
    noReference.SiftFile();
    EXPECT_EQ(noReference.error, "");
    EXPECT_EQ(ListTree(temp.path()), before);
}

TEST_F(TransferTest, SiftOntoAFileNamedLikeTheSiftedFolder) {
    const std::string a = Put("OMFI MediaFiles/a.omf");
    const std::string blocker = Put("OMFI MediaFiles/P_sifted", 10, 9);
    const auto sum = Checksum(blocker);
    auto file = Record("OMFI MediaFiles/a.omf", "P", RealFileSystem());
    file->SiftFile();
    EXPECT_EQ(file->error, "Invalid target " + blocker + " " + a);
    EXPECT_THAT(ListFolder(media), ElementsAre("P_sifted", "a.omf"));
    EXPECT_EQ(Checksum(blocker), sum);
}

TEST_F(TransferTest, SiftedFolderThatIsALinkIsNotFollowed) {
    const std::string a = Put("OMFI MediaFiles/a.omf");
    const std::string elsewhere = fixtures::MakeFolder(temp.Path("elsewhere"));
    std::filesystem::create_directory_symlink(elsewhere, InMedia("P_sifted"));
    auto file = Record("OMFI MediaFiles/a.omf", "P", RealFileSystem());
    file->SiftFile();
    EXPECT_EQ(file->error, "Invalid target " + InMedia("P_sifted") + " " + a);
    EXPECT_THAT(ListFolder(elsewhere), IsEmpty());
    EXPECT_TRUE(fixtures::PathExists(a));
}

TEST_F(TransferTest, SiftedFolderThatCannotBeMade) {
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailCreateFolder(EACCES);
    const std::string a = Put("OMFI MediaFiles/a.omf");
    auto file = Record("OMFI MediaFiles/a.omf", "P", fs);
    file->SiftFile();
    EXPECT_EQ(file->error, "Invalid target " + InMedia("P_sifted") + " " + a);
    EXPECT_THAT(ListFolder(media), ElementsAre("a.omf"));
}

TEST_F(TransferTest, SiftNeverReplacesAnEntryOfTheSameName) {
    const std::string a = Put("OMFI MediaFiles/a.omf", 1000, 1);
    fixtures::MakeFolder(InMedia("P_sifted"));
    const std::string there = Put("OMFI MediaFiles/P_sifted/a.omf", 500, 2);
    fixtures::MakeFolder(InMedia("P_sifted/b.omf"));
    const std::string b = Put("OMFI MediaFiles/b.omf", 1000, 3);
    const auto sumA = Checksum(a), sumThere = Checksum(there);

    auto file = Record("OMFI MediaFiles/a.omf", "P", RealFileSystem());
    file->SiftFile();
    EXPECT_EQ(file->error, "File exists already on destination " + a);
    EXPECT_EQ(Checksum(a), sumA);
    EXPECT_EQ(Checksum(there), sumThere);

    auto onFolder = Record("OMFI MediaFiles/b.omf", "P", RealFileSystem());
    onFolder->SiftFile();
    EXPECT_EQ(onFolder->error, "File exists already on destination " + b);
    EXPECT_TRUE(fixtures::PathExists(b));
}

// --- Unsifting

TEST_F(TransferTest, UnsiftMovesBackFromAnyFolderInTheMediaFolder) {
    fixtures::MakeFolder(InMedia("P_sifted"));
    fixtures::MakeFolder(InMedia("Misc"));
    const auto sum = Checksum(Put("OMFI MediaFiles/P_sifted/a.omf"));
    Put("OMFI MediaFiles/Misc/b.omf");
    for (const char* relative : {"OMFI MediaFiles/P_sifted/a.omf", "OMFI MediaFiles/Misc/b.omf"}) {
        auto file = Record(relative, "P", RealFileSystem());
        file->UnsiftFile();
        EXPECT_EQ(file->error, "") << relative;
    }
    EXPECT_THAT(ListTree(media), ElementsAre("Misc/", "P_sifted/", "a.omf", "b.omf"))
        << "sifted folders stay, also when empty";
    EXPECT_EQ(Checksum(InMedia("a.omf")), sum);
}

TEST_F(TransferTest, UnsiftLeavesOtherPlacesAlone) {
    fixtures::MakeFolder(InMedia("P_sifted/deeper"));
    fixtures::MakeFolder(volume + "/Other");
    Put("OMFI MediaFiles/direct.omf");
    Put("OMFI MediaFiles/P_sifted/deeper/deep.omf");
    Put("Other/other.omf");
    Put("top.omf");
    const auto before = ListTree(temp.path());
    for (const char* relative :
         {"OMFI MediaFiles/direct.omf", "OMFI MediaFiles/P_sifted/deeper/deep.omf",
          "Other/other.omf", "top.omf", "OMFI MediaFiles/P_sifted/gone.omf"}) {
        auto file = Record(relative, "P", RealFileSystem());
        file->UnsiftFile();
        EXPECT_EQ(file->error, "") << relative;
    }
    EXPECT_EQ(ListTree(temp.path()), before);
}

TEST_F(TransferTest, UnsiftNeverReplacesAFileInTheMediaFolder) {
    fixtures::MakeFolder(InMedia("P_sifted"));
    const std::string sifted = Put("OMFI MediaFiles/P_sifted/a.omf", 1000, 1);
    const std::string direct = Put("OMFI MediaFiles/a.omf", 800, 2);
    const auto sumSifted = Checksum(sifted), sumDirect = Checksum(direct);
    auto file = Record("OMFI MediaFiles/P_sifted/a.omf", "P", RealFileSystem());
    file->UnsiftFile();
    EXPECT_EQ(file->error, "File exists already on destination " + sifted);
    EXPECT_EQ(Checksum(sifted), sumSifted);
    EXPECT_EQ(Checksum(direct), sumDirect);
}

// --- Copying

TEST_F(TransferTest, CopyMakesTheTargetFolderAndLeavesTheSource) {
    const std::string a = Put("OMFI MediaFiles/a.omf", 70000);
    const auto sum = Checksum(a);
    const std::string target = temp.Path("Backup");
    auto file = Record("OMFI MediaFiles/a.omf", "P", RealFileSystem());
    file->CopyFile(FolderItem::Volume(target, RealFileSystem()));
    EXPECT_EQ(file->error, "");
    EXPECT_THAT(ListFolder(target), ElementsAre("a.omf")) << "no temporary left";
    EXPECT_EQ(Checksum(target + "/a.omf"), sum);
    EXPECT_EQ(Checksum(a), sum);
}

TEST_F(TransferTest, CopyNeverReplacesAndNeedsAFolder) {
    const std::string a = Put("OMFI MediaFiles/a.omf", 1000, 1);
    const std::string target = fixtures::MakeFolder(temp.Path("Backup"));
    const std::string existing = target + "/a.omf";
    fixtures::WriteFileWithoutTrailer(existing, 10, 2);
    const auto sumA = Checksum(a), sumExisting = Checksum(existing);
    auto file = Record("OMFI MediaFiles/a.omf", "P", RealFileSystem());
    file->CopyFile(FolderItem::Volume(target, RealFileSystem()));
    EXPECT_EQ(file->error, "File exists already on destination " + a);
    EXPECT_EQ(Checksum(a), sumA);
    EXPECT_EQ(Checksum(existing), sumExisting);

    file->CopyFile(FolderItem::Volume(existing, RealFileSystem()));
    EXPECT_EQ(file->error, "Invalid target " + existing + " " + a);

    auto gone = Record("OMFI MediaFiles/gone.omf", "P", RealFileSystem());
    gone->CopyFile(FolderItem::Volume(target, RealFileSystem()));
    EXPECT_EQ(gone->error, "");
    EXPECT_THAT(ListFolder(target), ElementsAre("a.omf"));
}

// --- Failures of the move or copy itself

struct MoveFailure {
    const char* name;
    std::optional<FileError> renameError;  // none: the source vanishes before the rename
    std::string errorString;               // LastErrorString of the source
    std::string message;                   // before " " and the source path; empty on success
};

void PrintTo(const MoveFailure& row, std::ostream* os) { *os << row.name; }

std::vector<MoveFailure> MoveFailures() {
    auto system = [](int errnum) { return std::string("Error: ") + std::strerror(errnum); };
    return {
        {"Done", FileError{}, "", ""},
        {"DestinationMissing", ErrorFromSystem(ENOENT), "Error 100: Destination does not exist.",
         "Error 100: Destination does not exist."},
        {"FileNotFound", std::nullopt, "Error 101: File not found.", "Error 101: File not found."},
        {"AccessDenied", ErrorFromSystem(EACCES), "Error 102: Access denied.",
         "Error 102: Access denied."},
        {"NotPermitted", ErrorFromSystem(EPERM), "Error 102: Access denied.",
         "Error 102: Access denied."},
        {"ReadOnlyVolume", ErrorFromSystem(EROFS), "Error 102: Access denied.",
         "Error 102: Access denied."},
        {"OutOfMemory", ErrorFromSystem(ENOMEM), "Error 103: Out of memory.",
         "Error 103: Out of memory."},
        {"InUse", ErrorFromSystem(EBUSY), "Error 104: File in use.", "Error 104: File in use."},
        {"NameTooLong", ErrorFromSystem(ENAMETOOLONG), "Error 105: Invalid name.",
         "Error 105: Invalid name."},
        {"UnnamedCode106", FileError{106, "Odd failure"}, "", "Error: Odd failure"},
        {"InputOutput", ErrorFromSystem(EIO), "", system(EIO)},
        {"NoSpace", ErrorFromSystem(ENOSPC), "", system(ENOSPC)},
        {"CrossDevice", ErrorFromSystem(EXDEV), "", system(EXDEV)},
        // The name was taken between the check and the move.
        {"TakenMeanwhile", ErrorFromSystem(EEXIST), "", "File exists already on destination"},
    };
}

class MoveFailureTest : public TransferTest, public ::testing::WithParamInterface<MoveFailure> {
protected:
    void Inject(fixtures::FaultInjectingFileSystem& fs) {
        if (!GetParam().renameError) {
            fs.VanishBeforeNthRename(1);
        } else if (!GetParam().renameError->ok()) {
            fs.FailNthRename(1, *GetParam().renameError);
        }
    }
};

TEST_P(MoveFailureTest, LastErrorStringOfTheSource) {
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    Inject(fs);
    Put("OMFI MediaFiles/a.omf");
    fixtures::MakeFolder(InMedia("P_sifted"));
    FolderItem source = fixtures::ItemOnVolume(volume, "OMFI MediaFiles/a.omf", fs);
    const bool done =
        source.MoveFileTo(fixtures::ItemOnVolume(volume, "OMFI MediaFiles/P_sifted", fs));
    EXPECT_EQ(done, GetParam().message.empty());
    EXPECT_EQ(FolderItemExtension::LastErrorString(source), GetParam().errorString);
}

TEST_P(MoveFailureTest, SiftAndUnsiftMessages) {
    const MoveFailure& row = GetParam();
    {
        fixtures::FaultInjectingFileSystem fs(RealFileSystem());
        Inject(fs);
        const std::string a = Put("OMFI MediaFiles/a.omf");
        auto file = Record("OMFI MediaFiles/a.omf", "P", fs);
        file->SiftFile();
        EXPECT_EQ(file->error, row.message.empty() ? "" : row.message + " " + a);
        if (row.message.empty()) {
            EXPECT_THAT(ListTree(media), ElementsAre("P_sifted/", "P_sifted/a.omf"));
        } else {
            EXPECT_THAT(ListTree(media), Contains("P_sifted/"));
            EXPECT_THAT(ListTree(media), ::testing::Not(Contains("P_sifted/a.omf")))
                << "a failed move is never counted as done";
        }
    }
    {
        fixtures::FaultInjectingFileSystem fs(RealFileSystem());
        Inject(fs);
        fixtures::MakeFolder(InMedia("Q_sifted"));
        const std::string b = Put("OMFI MediaFiles/Q_sifted/b.omf");
        auto file = Record("OMFI MediaFiles/Q_sifted/b.omf", "Q", fs);
        file->UnsiftFile();
        EXPECT_EQ(file->error, row.message.empty() ? "" : row.message + " " + b);
        EXPECT_EQ(fixtures::PathExists(InMedia("b.omf")), row.message.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, MoveFailureTest, ::testing::ValuesIn(MoveFailures()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransferTest, LastErrorStringOfAReferenceNeverMoved) {
    EXPECT_EQ(FolderItemExtension::LastErrorString(FolderItem::Volume(volume, RealFileSystem())),
              "");
}

TEST_F(TransferTest, CopyFailuresAreReportedAndLeaveNothingBehind) {
    struct Row {
        const char* what;
        std::function<void(fixtures::FaultInjectingFileSystem&, const std::string& source)> inject;
        std::string message;
    };
    const std::vector<Row> rows = {
        {"target refuses new files", [](auto& fs, const auto&) { fs.FailCreateNew(EACCES); },
         "Error 102: Access denied."},
        {"source cannot be opened",
         [](auto& fs, const auto& source) { fs.FailOpenRead(source, EBUSY); },
         "Error 104: File in use."},
        {"target full after 1 MB", [](auto& fs, const auto&) { fs.FailWritesAfter(1 << 20); },
         std::string("Error: ") + std::strerror(ENOSPC)},
        {"target full at once", [](auto& fs, const auto&) { fs.FailWritesAfter(0, EDQUOT); },
         std::string("Error: ") + std::strerror(EDQUOT)},
        {"name taken before the copy gets it",
         [](auto& fs, const auto&) { fs.FailNthRename(1, EEXIST); },
         "File exists already on destination"},
        {"final rename fails", [](auto& fs, const auto&) { fs.FailNthRename(1, EIO); },
         std::string("Error: ") + std::strerror(EIO)},
    };
    const std::string source = Put("OMFI MediaFiles/a.omf", 3 * 1024 * 1024 + 5);
    const auto sum = Checksum(source);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fixtures::TempFolder target;
        fixtures::FaultInjectingFileSystem fs(RealFileSystem());
        row.inject(fs, source);
        auto file = Record("OMFI MediaFiles/a.omf", "P", fs);
        file->CopyFile(FolderItem::Volume(target.path(), fs));
        EXPECT_EQ(file->error, row.message + " " + source);
        EXPECT_THAT(ListFolder(target.path()), IsEmpty()) << "no partial file, no temporary";
        EXPECT_EQ(Checksum(source), sum);
    }
}

TEST_F(TransferTest, CopyWhoseSidecarDoesNotFitLeavesNothingBehind) {
    const std::string source = Put("OMFI MediaFiles/a.omf", 5000);
    fixtures::WriteSidecar(source, "ATmf", "AvMC", fixtures::BuildResourceFork({}));
    fixtures::TempFolder target;
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailWritesAfter(5000 + 10);
    auto file = Record("OMFI MediaFiles/a.omf", "P", fs);
    file->CopyFile(FolderItem::Volume(target.path(), fs));
    EXPECT_EQ(file->error, std::string("Error: ") + std::strerror(ENOSPC) + " " + source);
    EXPECT_THAT(ListFolder(target.path()), IsEmpty());
}

// --- Mac metadata travels with the file

class MetadataTravels : public TransferTest {
protected:
    void ExpectMetadata(const std::string& path) {
        FolderItem item = FolderItem::Volume(path.substr(0, path.rfind('/')), RealFileSystem())
                              .Child(LastComponent(path));
        EXPECT_EQ(item.MacType(), "Sd2f") << path;
        EXPECT_EQ(item.ResourceFork(), fork) << path;
        MediaFile record;
        record.filename = LastComponent(path);
        record.file = item;
        EXPECT_EQ(record.GetProjectFromFile(), "Spot30") << path;
    }
    void ExpectNoMetadataLeftAt(const std::string& path) {
        EXPECT_FALSE(fixtures::PathExists(path));
        EXPECT_FALSE(fixtures::PathExists(fixtures::SidecarPathOf(path)));
    }
    const Bytes fork = fixtures::BuildResourceFork(
        {{"OMF1", 1000, Bytes(12, '\0') + fixtures::ProjectField("Spot30"), std::nullopt}});
};

TEST_F(MetadataTravels, SiftAndUnsiftMoveTheSidecar) {
    const std::string a = Put("OMFI MediaFiles/voice");
    fixtures::WriteSidecar(a, "Sd2f", "Sd2a", fork);
    auto file = Record("OMFI MediaFiles/voice", "Spot30", RealFileSystem());
    file->SiftFile();
    ASSERT_EQ(file->error, "");
    EXPECT_THAT(ListTree(media),
                ElementsAre("Spot30_sifted/", "Spot30_sifted/._voice", "Spot30_sifted/voice"));
    ExpectMetadata(InMedia("Spot30_sifted/voice"));

    auto back = Record("OMFI MediaFiles/Spot30_sifted/voice", "Spot30", RealFileSystem());
    back->UnsiftFile();
    ASSERT_EQ(back->error, "");
    ExpectMetadata(a);
    ExpectNoMetadataLeftAt(InMedia("Spot30_sifted/voice"));
}

TEST_F(MetadataTravels, SiftKeepsExtendedAttributes) {
    if (!fixtures::SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    const std::string a = Put("OMFI MediaFiles/voice");
    fixtures::SetFinderInfoAttribute(a, "Sd2f");
    fixtures::SetResourceForkAttribute(a, fork);
    auto file = Record("OMFI MediaFiles/voice", "Spot30", RealFileSystem());
    file->SiftFile();
    ASSERT_EQ(file->error, "");
    ExpectMetadata(InMedia("Spot30_sifted/voice"));
    ExpectNoMetadataLeftAt(a);
}

TEST_F(MetadataTravels, CopyTakesSidecarAndAttributes) {
    const std::string withSidecar = Put("OMFI MediaFiles/voice");
    fixtures::WriteSidecar(withSidecar, "Sd2f", "Sd2a", fork);
    const bool xattrs = fixtures::SupportsUserAttributes(temp.path());
    const std::string withAttributes = Put("OMFI MediaFiles/take");
    if (xattrs) {
        fixtures::SetFinderInfoAttribute(withAttributes, "Sd2f");
        fixtures::SetResourceForkAttribute(withAttributes, fork);
    }
    const std::string target = temp.Path("Backup");
    for (const char* relative : {"OMFI MediaFiles/voice", "OMFI MediaFiles/take"}) {
        auto file = Record(relative, "Spot30", RealFileSystem());
        file->CopyFile(FolderItem::Volume(target, RealFileSystem()));
        EXPECT_EQ(file->error, "") << relative;
    }
    EXPECT_THAT(ListFolder(target), ElementsAre("._voice", "take", "voice"));
    ExpectMetadata(target + "/voice");
    ExpectMetadata(withSidecar);
    if (xattrs) {
        ExpectMetadata(target + "/take");
        ExpectMetadata(withAttributes);
    }
}

// A target that takes no extended attributes (FAT, exFAT, a network share), or none as
// large as a resource fork: the Finder info and the fork go into "._name" beside the copy.
class MetadataWithoutAttributes : public MetadataTravels,
                                  public ::testing::WithParamInterface<int> {};

TEST_P(MetadataWithoutAttributes, CopyKeepsItInASidecar) {
    if (!fixtures::SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    const std::string take = Put("OMFI MediaFiles/take.sd2");
    fixtures::SetFinderInfoAttribute(take, "Sd2f");
    fixtures::SetResourceForkAttribute(take, fork);
    const std::string target = fixtures::MakeFolder(temp.Path("Card"));
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    fs.RefuseAttributesBelow(target, GetParam());
    auto file = Record("OMFI MediaFiles/take.sd2", "Spot30", fs);

    file->CopyFile(FolderItem::Volume(target, fs));

    EXPECT_EQ(file->error, "");
    EXPECT_THAT(ListFolder(target), ElementsAre("._take.sd2", "take.sd2"));
    EXPECT_EQ(Checksum(target + "/take.sd2"), Checksum(take));
    ExpectMetadata(target + "/take.sd2");
    const auto sidecar = ParseAppleDouble(*fixtures::ReadFileBytes(target + "/._take.sd2"));
    ASSERT_TRUE(sidecar);
    EXPECT_EQ(sidecar->finderInfo, fixtures::FinderInfo("Sd2f"));
    EXPECT_EQ(sidecar->resourceFork, fork);
    ExpectMetadata(take);  // the source keeps its attributes
}

INSTANTIATE_TEST_SUITE_P(Refusals, MetadataWithoutAttributes,
                         ::testing::Values(ENOTSUP, E2BIG, ENOSPC, EPERM), [](const auto& info) {
                             switch (info.param) {
                                 case ENOTSUP: return std::string("NotSupported");
                                 case E2BIG: return std::string("ValueTooLarge");
                                 case ENOSPC: return std::string("NoSpace");
                                 default: return std::string("NotPermitted");
                             }
                         });

TEST_F(MetadataTravels, CopyAddsWhatDidNotFitToTheFilesOwnSidecar) {
    if (!fixtures::SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    const std::string voice = Put("OMFI MediaFiles/voice");
    fixtures::WriteSidecar(voice, "Sd2f", "Sd2a");  // the Finder info only
    fixtures::SetResourceForkAttribute(voice, fork);
    const std::string target = fixtures::MakeFolder(temp.Path("Card"));
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    fs.RefuseAttributesBelow(target);
    auto file = Record("OMFI MediaFiles/voice", "Spot30", fs);

    file->CopyFile(FolderItem::Volume(target, fs));

    EXPECT_EQ(file->error, "");
    ExpectMetadata(target + "/voice");
    const auto sidecar = ParseAppleDouble(*fixtures::ReadFileBytes(target + "/._voice"));
    ASSERT_TRUE(sidecar);
    EXPECT_EQ(sidecar->finderInfo, fixtures::FinderInfo("Sd2f", "Sd2a"));
}

TEST_F(MetadataTravels, CopyWhoseSidecarCannotBeWrittenIsNotMade) {
    if (!fixtures::SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    const std::string take = Put("OMFI MediaFiles/take");
    fixtures::SetFinderInfoAttribute(take, "Sd2f");
    fixtures::SetResourceForkAttribute(take, fork);
    const std::string target = fixtures::MakeFolder(temp.Path("Card"));
    fixtures::ScriptedFileSystem fs(RealFileSystem());
    fs.SetScript([&](const fixtures::ScriptedFileSystem::Call& call) -> std::optional<FileError> {
        if (call.op == "SetAttribute" && fixtures::IsAtOrBelow(call.path, target))
            return ErrorFromSystem(ENOTSUP);
        // The sidecar's temporary: "." and the sidecar's name "._take".
        if (call.op == "CreateNew" && LastComponent(call.path).rfind(".._", 0) == 0)
            return ErrorFromSystem(ENOSPC);
        return std::nullopt;
    });
    auto file = Record("OMFI MediaFiles/take", "Spot30", fs);

    file->CopyFile(FolderItem::Volume(target, fs));

    EXPECT_EQ(file->error.rfind("Error: ", 0), 0u) << file->error;
    EXPECT_THAT(ListFolder(target), IsEmpty());
}

}  // namespace
}  // namespace mt
