// The media folder object: how it judges a volume and its database when made, its status
// line, and its two queries on the catalogue.

#include "mediafolder/tarnwicker.h"

#include <cerrno>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "fixtures/database_builders.h"
#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"

namespace mt {
namespace {

using namespace fixtures;

std::vector<Bytes> Projects(const MediaFileList& files) {
    std::vector<Bytes> out;
    for (const auto& f : files) out.push_back(f->project);
    return out;
}

TEST(TarnwickerTest, UsableVolumeIsJudgedWithoutError) {
    TempFolder temp;
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Spot30"}, {"C.omf", "Trailer"}});
    WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");

    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

    EXPECT_EQ(folder.error, "");
    EXPECT_EQ(folder.Name(), "Media");
    ASSERT_TRUE(folder.mediafolder);
    EXPECT_EQ(folder.mediafolder->ShellPath(), volume.media);
    ASSERT_TRUE(folder.databasefile);
    EXPECT_EQ(folder.databasefile->ShellPath(), volume.MediaPath("msmFMID.pmr"));
    EXPECT_EQ(folder.databasecount, 3);
    EXPECT_FALSE(folder.Scanned());
    EXPECT_TRUE(folder.MediaFiles.empty());
    // The count comes from the header; the size from the (still empty) catalogue.
    EXPECT_EQ(folder.DumpStatus(), "Media - 3 Files -");
}

// One case per verdict of the checks made when the object is created.
struct CheckCase {
    const char* label;
    // Builds what the case needs under root and makes the object.
    std::function<std::unique_ptr<Tarnwicker>(const std::string& root,
                                              FaultInjectingFileSystem& fs)>
        make;
    const char* error;
    int databasecount;
    bool hasDatabaseFile;
    const char* status;  // "{root}" stands for the temp folder
};

class TarnwickerCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TarnwickerCheckTest, GivesItsVerdict) {
    const CheckCase& c = GetParam();
    TempFolder temp;
    FaultInjectingFileSystem fs(RealFileSystem());
    std::unique_ptr<Tarnwicker> folder = c.make(temp.path(), fs);

    EXPECT_EQ(folder->error, c.error);
    EXPECT_EQ(folder->databasecount, c.databasecount);
    EXPECT_EQ(folder->databasefile.has_value(), c.hasDatabaseFile);
    std::string status = c.status;
    if (auto at = status.find("{root}"); at != std::string::npos) {
        status.replace(at, 6, temp.path());
    }
    EXPECT_EQ(folder->DumpStatus(), status);
}

std::unique_ptr<Tarnwicker> OnVolume(const std::string& top, FileSystem& fs) {
    return std::make_unique<Tarnwicker>(FolderItem::Volume(top, fs), false);
}

// A volume "Media" whose database counts `count` and whose media folder holds `entries`
// entries, the database included.
std::unique_ptr<Tarnwicker> WithEntries(const std::string& root, FileSystem& fs, uint32_t count,
                                        int entries) {
    std::string media = MakeMediaFolder(MakeVolume(root, "Media"));
    WriteFileBytes(media + "/msmFMID.pmr", BuildDatabase({}, false, count));
    for (int i = 1; i < entries; ++i) MakeFolder(media + "/entry" + std::to_string(i));
    return OnVolume(root + "/Media", fs);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, TarnwickerCheckTest,
    ::testing::Values(
        CheckCase{"NoVolume",
                  [](const std::string&, FaultInjectingFileSystem&) {
                      return std::make_unique<Tarnwicker>(std::nullopt, false);
                  },
                  "no volume", 0, false, ""},
        CheckCase{"NoFolderGiven",
                  [](const std::string&, FaultInjectingFileSystem&) {
                      return std::make_unique<Tarnwicker>(std::nullopt, true);
                  },
                  "no OMFI MediaFolder", 0, false, ""},
        CheckCase{"NoMediaFolder",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      return OnVolume(MakeVolume(root, "Media"), fs);
                  },
                  "no OMFI MediaFolder", 0, false, "Media - 0 Files - - no OMFI MediaFolder"},
        CheckCase{"MediaFolderIsAFile",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      std::string top = MakeVolume(root, "Media");
                      WriteFileBytes(top + "/OMFI MediaFiles", "not a folder");
                      return OnVolume(top, fs);
                  },
                  "no OMFI MediaFolder", 0, false, "Media - 0 Files - - no OMFI MediaFolder"},
        CheckCase{"MediaFolderIsALink",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      std::string elsewhere = MakeFolder(root + "/elsewhere");
                      WriteDatabase(elsewhere + "/msmFMID.pmr", {});
                      std::string top = MakeVolume(root, "Media");
                      std::filesystem::create_directory_symlink(elsewhere,
                                                                top + "/OMFI MediaFiles");
                      return OnVolume(top, fs);
                  },
                  "no OMFI MediaFolder", 0, false, "Media - 0 Files - - no OMFI MediaFolder"},
        CheckCase{"NoDatabase",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      MakeMediaFolder(MakeVolume(root, "Media"));
                      return OnVolume(root + "/Media", fs);
                  },
                  "no Media Database", 0, true, "Media - 0 Files - - no Media Database"},
        CheckCase{"DatabaseCannotBeOpened",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      std::string media = MakeMediaFolder(MakeVolume(root, "Media"));
                      WriteFileBytes(media + "/msmFMID.pmr", BuildDatabase({}, false, 0));
                      fs.FailOpenRead(media + "/msmFMID.pmr", EACCES);
                      return OnVolume(root + "/Media", fs);
                  },
                  "cannot read database", 0, true, "Media - 0 Files - - cannot read database"},
        // Count 3 needs 5 entries: the database and four others.
        CheckCase{"ExactlyCountPlusTwoEntries",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      return WithEntries(root, fs, 3, 5);
                  },
                  "", 3, true, "Media - 3 Files -"},
        CheckCase{"OneEntryTooFew",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      return WithEntries(root, fs, 3, 4);
                  },
                  "database not up to date", 3, true,
                  "Media - 3 Files - - database not up to date"},
        CheckCase{"NegativeCountIsWrittenWithItsSign",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      return WithEntries(root, fs, 0xFFFFFFFEu, 1);
                  },
                  "", -2, true, "Media - -2 Files -"},
        CheckCase{"AddedFolderShowsItsPath",
                  [](const std::string& root, FaultInjectingFileSystem& fs) {
                      std::string cuts = MakeFolder(root + "/Cuts");
                      return std::make_unique<Tarnwicker>(FolderItem::OnItsVolume(cuts, fs), true);
                  },
                  "no Media Database", 0, true, "{root}/Cuts - 0 Files - - no Media Database"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(TarnwickerTest, AddedFolderHasNoVolumeName) {
    TempFolder temp;
    std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteDatabase(cuts + "/msmFMID.pmr", {});
    MakeFolder(cuts + "/other");

    Tarnwicker folder(FolderItem::OnItsVolume(cuts, RealFileSystem()), true);

    EXPECT_EQ(folder.Name(), "");
    EXPECT_FALSE(folder.myvolume);
    EXPECT_EQ(folder.error, "");
    EXPECT_EQ(folder.DumpStatus(), cuts + " - 0 Files -");
}

TEST(TarnwickerTest, StatusLineCarriesCountSizeAndVerdict) {
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    // One record present (its name is not one the folder scan takes), 340 counted.
    WriteFileBytes(media + "/Clip.mxf", "x");
    std::filesystem::resize_file(media + "/Clip.mxf", 1610612736);  // 1.5 GB, sparse
    WriteFileBytes(media + "/msmFMID.pmr",
                   BuildDatabase({{MobId(1), "Clip.mxf", "Spot30"}}, false, 340));

    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);
    folder.ReadDatabase();

    ASSERT_EQ(folder.MediaFiles.size(), 1u);
    EXPECT_EQ(folder.DumpStatus(), "Media - 340 Files 1.5 GB - database not up to date");
}

TEST(TarnwickerTest, MissingFileIsReportedAfterRead) {
    TempFolder temp;
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.omf", "Spot30"}});
    WriteFileBytes(volume.MediaPath("msmMMOB.mdb"), "index");
    WriteFileBytes(volume.MediaPath("notes"), "spare entry");
    std::filesystem::remove(volume.MediaPath("B.omf"));

    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    ASSERT_EQ(folder.error, "");
    folder.ReadDatabase();

    EXPECT_EQ(folder.error, "files missing");
    const std::string status = folder.DumpStatus();
    EXPECT_EQ(status.substr(status.size() - 16), " - files missing");
}

TEST(TarnwickerTest, FilesForProjectIgnoreCaseKeepOrderAndShareObjects) {
    TempFolder temp;
    // Names the folder scan does not take, so the catalogue is the records alone.
    TestVolume volume = BuildVolume(
        temp.path(), "Media",
        {{"1.mxf", "Spot30"}, {"2.mxf", "Trailer"}, {"3.mxf", "SPOT30"}, {"4.mxf", "spot30"}});
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    ASSERT_EQ(folder.MediaFiles.size(), 4u);

    MediaFileList all = folder.GetFilesForProject("");
    EXPECT_EQ(all, folder.MediaFiles);  // the same objects, in catalogue order

    MediaFileList spot = folder.GetFilesForProject("sPoT30");
    ASSERT_EQ(spot.size(), 3u);
    EXPECT_EQ(spot[0], folder.MediaFiles[0]);
    EXPECT_EQ(spot[1], folder.MediaFiles[2]);
    EXPECT_EQ(spot[2], folder.MediaFiles[3]);
    EXPECT_EQ(Projects(folder.GetFilesForProject("trailer")), std::vector<Bytes>{"Trailer"});

    EXPECT_TRUE(folder.GetFilesForProject("Spot3").empty());
    EXPECT_TRUE(folder.GetFilesForProject("Nowhere").empty());
}

TEST(TarnwickerTest, ProjectListIsSortedIgnoringCase) {
    TempFolder temp;
    std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), RealFileSystem()), false);

    EXPECT_TRUE(folder.GetProjectList().empty());
    EXPECT_TRUE(folder.GetFilesForProject("").empty());

    folder.projectdict.Set("Zulu", "Zulu");
    folder.projectdict.Set("alpha", "alpha");
    folder.projectdict.Set("Beta", "Beta");
    EXPECT_EQ(folder.GetProjectList(), (std::vector<Bytes>{"alpha", "Beta", "Zulu"}));
}

TEST(TarnwickerTest, ProjectListGivesValuesNotKeys) {
    Tarnwicker folder(std::nullopt, false);
    folder.projectdict.Set("Spot30_sifted", "Trailer[Spot30_sifted]");
    folder.projectdict.Set("OMFI MediaFiles", "Alpha[OMFI MediaFiles]");
    folder.projectdict.Set("SPOT30_SIFTED", "Spot30[Spot30_sifted]");  // same key, new value

    EXPECT_EQ(folder.GetProjectList(),
              (std::vector<Bytes>{"Alpha[OMFI MediaFiles]", "Spot30[Spot30_sifted]"}));
}

}  // namespace
}  // namespace mt
