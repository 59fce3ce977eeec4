// Sifting every project of a media folder into a folder of its own.

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/database_builders.h"
#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "mediafolder/tarnwicker.h"

namespace mt {
namespace {

using namespace fixtures;

class VolumeSiftTest : public ::testing::Test {
protected:
    TempFolder temp;
    HookRecorder hooks;
};

TEST_F(VolumeSiftTest, MovesEveryProjectIntoItsFolder) {
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}, {"C.omf", "Spot30"}});
    const auto sums = ContentChecksums(SnapshotTree(volume.top));
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    FakeStatusLabel label;
    folder.label = &label;

    folder.Sift();

    EXPECT_TRUE(folder.Scanned());  // read first, since it was not
    EXPECT_EQ(ListFolder(volume.MediaPath("Spot30_sifted")),
              (std::vector<std::string>{"A.omf", "C.omf"}));
    EXPECT_EQ(ListFolder(volume.MediaPath("Trailer_sifted")), std::vector<std::string>{"B.omf"});
    EXPECT_FALSE(PathExists(volume.MediaPath("A.omf")));
    EXPECT_EQ(ListFolder(volume.media),
              (std::vector<std::string>{"Spot30_sifted", "Trailer_sifted", "msmFMID.pmr"}));
    EXPECT_EQ(ContentChecksums(SnapshotTree(volume.top)), sums);

    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Volume Media", " end "}));
    EXPECT_TRUE(hooks.messages.empty());
    // Projects in sorted order, each file once.
    EXPECT_EQ(label.texts, (std::vector<std::string>{"Sift A.omf", "Sift C.omf", "Sift B.omf"}));
}

// A volume with or without its database sifts into the same folders: those named after the
// projects the files belong to.
TEST_F(VolumeSiftTest, SameFoldersWithAndWithoutDatabase) {
    for (bool withDatabase : {true, false}) {
        SCOPED_TRACE(withDatabase ? "with database" : "without database");
        TempFolder scratch;
        TestVolume volume = BuildVolume(
            scratch.path(), "Media",
            {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}, {"C.omf", "Spot30"}, {"D.omf", ""}},
            withDatabase);
        Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

        folder.Sift();

        std::vector<std::string> tree = ListTree(volume.media);
        std::erase(tree, "msmFMID.pmr");
        EXPECT_EQ(tree,
                  (std::vector<std::string>{"Spot30_sifted/", "Spot30_sifted/A.omf",
                                            "Spot30_sifted/C.omf", "Trailer_sifted/",
                                            "Trailer_sifted/B.omf", "_sifted/", "_sifted/D.omf"}));
        EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Volume Media", " end "}));
        EXPECT_TRUE(hooks.messages.empty());
    }
}

TEST_F(VolumeSiftTest, NamelessProjectSiftsOnlyItsOwnFiles) {
    TestVolume volume = BuildVolume(temp.path(), "Media",
                                    {{"A.mxf", ""}, {"B.mxf", "Spot30"}, {"C.mxf", "Trailer"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

    folder.Sift();

    EXPECT_EQ(ListFolder(volume.MediaPath("_sifted")), std::vector<std::string>{"A.mxf"});
    EXPECT_EQ(ListFolder(volume.MediaPath("Spot30_sifted")), std::vector<std::string>{"B.mxf"});
    EXPECT_EQ(ListFolder(volume.MediaPath("Trailer_sifted")), std::vector<std::string>{"C.mxf"});
    EXPECT_TRUE(hooks.messages.empty());
}

// On a volume that tells letter cases apart, a project's sifted folder is found in any case:
// one already there, and one made earlier in the same sift for the same project.
TEST_F(VolumeSiftTest, OneFolderPerProjectWhateverTheLetterCase) {
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.omf", "spot30"}, {"B.omf", "Trailer"}});
    WriteMediaFile(volume.MediaPath("C.omf"), "Spot30", 300);  // not in the database
    MakeFolder(volume.MediaPath("TRAILER_SIFTED"));
    ScriptedFileSystem fs(RealFileSystem());
    Tarnwicker folder(FolderItem::Volume(volume.top, fs), false);
    folder.ReadDatabase();
    ASSERT_EQ(folder.GetProjectList(),
              (std::vector<Bytes>{"spot30", "Spot30[OMFI MediaFiles]", "Trailer"}));
    fs.SetScript({});

    folder.Sift();

    EXPECT_EQ(
        ListTree(volume.media),
        (std::vector<std::string>{"TRAILER_SIFTED/", "TRAILER_SIFTED/B.omf", "msmFMID.pmr",
                                  "spot30_sifted/", "spot30_sifted/A.omf", "spot30_sifted/C.omf"}));
    EXPECT_TRUE(hooks.messages.empty());
    // The media folder is listed once for the whole sift.
    EXPECT_EQ(fs.CountCalls("List", volume.media), 1);
}

TEST_F(VolumeSiftTest, SiftedProjectNamesAreSkipped) {
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.mxf", "Spot30"}, {"B.mxf", "Old_SIFTED"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

    folder.Sift();

    EXPECT_TRUE(PathExists(volume.MediaPath("Spot30_sifted/A.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("B.mxf")));
    EXPECT_FALSE(PathExists(volume.MediaPath("Old_SIFTED_sifted")));
    EXPECT_EQ(LogOf(folder).size(), 2u);
}

TEST_F(VolumeSiftTest, FileInPlaceOfAProjectFolderStopsTheSift) {
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.mxf", "Alpha"}, {"S.mxf", "Spot30"}, {"T.mxf", "Trailer"}});
    WriteFileBytes(volume.MediaPath("Spot30_sifted"), "in the way");
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

    folder.Sift();

    EXPECT_TRUE(PathExists(volume.MediaPath("Alpha_sifted/A.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("S.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("T.mxf")));
    EXPECT_FALSE(PathExists(volume.MediaPath("Trailer_sifted")));
    EXPECT_EQ(ReadFileBytes(volume.MediaPath("Spot30_sifted")), "in the way");
    EXPECT_EQ(hooks.messages,
              std::vector<std::string>{"There is already a file with the project name"});
    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{
                                 " Sift Volume Media",
                                 "Error: There is already a file with the project name", " end "}));
}

TEST_F(VolumeSiftTest, FolderThatCannotBeCreatedStopsTheSift) {
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.mxf", "Alpha"}, {"S.mxf", "Spot30"}});
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailCreateFolder(EACCES);
    Tarnwicker folder(FolderItem::Volume(volume.top, fs), false);
    FakeProgressBar bar;
    folder.progress = &bar;

    folder.Sift();

    EXPECT_TRUE(PathExists(volume.MediaPath("A.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("S.mxf")));
    EXPECT_EQ(fs.CountCalls("Rename"), 0);
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"Could not create the folder"});
    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Volume Media",
                                                       "Could not create the folder", " end "}));
    EXPECT_FALSE(bar.visible);
}

TEST_F(VolumeSiftTest, AddedFolderGetsProjectFoldersButKeepsItsFiles) {
    const std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteMediaFile(cuts + "/A.mxf", "Spot30", 100);
    WriteMediaFile(cuts + "/B.mxf", "Trailer", 101);
    WriteDatabase(cuts + "/msmFMID.pmr",
                  {{MobId(1), "A.mxf", "Spot30"}, {MobId(2), "B.mxf", "Trailer"}});
    Tarnwicker folder(FolderItem::OnItsVolume(cuts, RealFileSystem()), true);
    FakeProgressBar bar;
    folder.progress = &bar;
    SteppingTicks ticks;

    folder.Sift();

    EXPECT_EQ(ListFolder(cuts), (std::vector<std::string>{"A.mxf", "B.mxf", "Spot30_sifted",
                                                          "Trailer_sifted", "msmFMID.pmr"}));
    EXPECT_TRUE(ListFolder(cuts + "/Spot30_sifted").empty());
    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Folder " + cuts, " end "}));
    EXPECT_TRUE(hooks.messages.empty());
    ASSERT_FALSE(bar.visibility.empty());
    EXPECT_FALSE(bar.visibility.back());
}

TEST_F(VolumeSiftTest, FolderWithoutProjectsLogsHeaderAndEnd) {
    MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);

    folder.Sift();

    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Volume Media", " end "}));
    EXPECT_EQ(ListFolder(temp.Path("Media/OMFI MediaFiles")), std::vector<std::string>{});
}

TEST_F(VolumeSiftTest, ProgressCountsTheWholeCatalogue) {
    // 4 records of the one unsifted project, 6 files already sifted: 10 members.
    TestVolume volume =
        BuildVolume(temp.path(), "Media",
                    {{"1.mxf", "Solo"}, {"2.mxf", "Solo"}, {"3.mxf", "Solo"}, {"4.mxf", "Solo"}});
    MakeFolder(volume.MediaPath("Old_sifted"));
    for (int i = 0; i < 6; ++i) {
        WriteMediaFile(volume.MediaPath("Old_sifted/o" + std::to_string(i) + ".omf"), "Old",
                       100 + i);
    }
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    ASSERT_EQ(folder.MediaFiles.size(), 10u);
    FakeProgressBar bar;
    folder.progress = &bar;
    SteppingTicks ticks;

    folder.Sift();

    EXPECT_EQ(bar.values, (std::vector<int>{10, 20, 30, 40}));
    ASSERT_FALSE(bar.visibility.empty());
    EXPECT_TRUE(bar.visibility.front());
    EXPECT_FALSE(bar.visibility.back());
    EXPECT_EQ(ListFolder(volume.MediaPath("Old_sifted")).size(), 6u);
}

TEST_F(VolumeSiftTest, SecondSiftWithoutScanMovesNothing) {
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.Sift();
    const TreeSnapshot afterFirst = SnapshotTree(volume.top);

    folder.Sift();

    EXPECT_EQ(SnapshotTree(volume.top), afterFirst);
    EXPECT_EQ(LogOf(folder), (std::vector<std::string>{" Sift Volume Media", " end "}));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST_F(VolumeSiftTest, FileThatFailsToMoveIsLoggedAndTheRestGoOn) {
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Trailer"}});
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailNthRename(2, EACCES);
    Tarnwicker folder(FolderItem::Volume(volume.top, fs), false);

    folder.Sift();

    EXPECT_TRUE(PathExists(volume.MediaPath("Spot30_sifted/A.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("B.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("Trailer_sifted/C.mxf")));
    EXPECT_EQ(LogOf(folder),
              (std::vector<std::string>{" Sift Volume Media",
                                        "Error 102: Access denied. " + volume.MediaPath("B.mxf"),
                                        " end "}));
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"There were some errors. See the log tab."});
}

TEST_F(VolumeSiftTest, SiftUsesTheCatalogueAlreadyRead) {
    TestVolume volume = BuildVolume(temp.path(), "Media", {{"A.mxf", "Spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    // Files that arrive after the read are not in the catalogue, so the sift leaves them.
    WriteMediaFile(volume.MediaPath("Late.omf"), "Spot30", 100);

    folder.Sift();

    EXPECT_TRUE(PathExists(volume.MediaPath("Spot30_sifted/A.mxf")));
    EXPECT_TRUE(PathExists(volume.MediaPath("Late.omf")));
}

}  // namespace
}  // namespace mt
