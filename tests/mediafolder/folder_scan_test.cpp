// The file-by-file scan of a media folder and of its "_sifted" folders.

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "mediafolder/tarnwicker.h"

namespace mt {
namespace {

using namespace fixtures;
namespace fs = std::filesystem;

std::vector<Bytes> Names(const MediaFileList& files) {
    std::vector<Bytes> out;
    for (const auto& f : files) out.push_back(f->filename);
    return out;
}

std::vector<Bytes> ProjectsOf(const MediaFileList& files) {
    std::vector<Bytes> out;
    for (const auto& f : files) out.push_back(f->project);
    return out;
}

// A volume "Media" with an empty media folder and no database.
struct EmptyVolume {
    TempFolder temp;
    std::string top = MakeVolume(temp.path(), "Media");
    std::string media = MakeMediaFolder(top);

    std::unique_ptr<Tarnwicker> Read() {
        auto folder =
            std::make_unique<Tarnwicker>(FolderItem::Volume(top, RealFileSystem()), false);
        folder->ReadDatabase();
        return folder;
    }
};

TEST(FolderScanTest, TakesMediaFilesByTheirLastNameField) {
    EmptyVolume volume;
    struct Entry {
        const char* name;
        bool taken;
    };
    const std::vector<Entry> entries = {
        {"Clip.OMF", true},   {"clip.wav", true},        {"tone.aif", true}, {"voice.sd2", true},
        {"take.aiff", false}, {"notes.txt", false},      {"omf", true},      {"WAV", true},
        {"x.omf.txt", false}, {"archive.txt.omf", true}, {"wav.", false},    {"sd2x", false},
        {".x.omf", false},    {"._Clip.OMF", false},     {"Aif.mxf", false},
    };
    for (const auto& e : entries) WriteMediaFile(volume.media + "/" + e.name, "Spot30", 100);
    MakeFolder(volume.media + "/folder.omf");

    auto folder = volume.Read();

    // Listing order is the byte order of the names.
    std::vector<Bytes> expected;
    for (const auto& e : entries) {
        if (e.taken) expected.push_back(e.name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(folder->MediaFiles), expected);
    EXPECT_EQ(Names(folder->MediaFiles).front(), "Clip.OMF");
    for (const auto& m : folder->MediaFiles) {
        SCOPED_TRACE(m->filename);
        EXPECT_EQ(m->informationsource, "F");
        // A name without one of the three endings is not read for its project.
        const bool readable = m->filename.find('.') != Bytes::npos;
        EXPECT_EQ(m->project, readable ? "Spot30[OMFI MediaFiles]" : "[OMFI MediaFiles]");
        EXPECT_EQ(m->fileproject, readable ? "Spot30" : "");
        EXPECT_FALSE(m->online);
        EXPECT_EQ(m->premob, "");
        EXPECT_EQ(m->postmob, "");
        EXPECT_EQ(m->error, "");
        EXPECT_EQ(m->file->ShellPath(), volume.media + "/" + m->filename);
    }
}

TEST(FolderScanTest, ScansOnlyDirectSiftedFolders) {
    EmptyVolume volume;
    const std::string m = volume.media;
    for (const char* sub : {"/Spot30_SIFTED", "/sifted_Spot30", "/Spot30_sifted.old",
                            "/Trailer_sifted", "/Trailer_sifted/inner_sifted", "/Other"}) {
        MakeFolder(m + sub);
    }
    WriteMediaFile(m + "/Spot30_SIFTED/a.omf", "Spot30", 100);
    WriteMediaFile(m + "/sifted_Spot30/b.omf", "Spot30", 101);
    WriteMediaFile(m + "/Spot30_sifted.old/c.omf", "Spot30", 102);
    WriteMediaFile(m + "/Trailer_sifted/d.omf", "Trailer", 103);
    WriteMediaFile(m + "/Trailer_sifted/inner_sifted/e.omf", "Trailer", 104);
    WriteMediaFile(m + "/Other/f.omf", "Other", 105);
    WriteMediaFile(m + "/g.omf", "Gamma", 106);

    auto folder = volume.Read();

    EXPECT_EQ(Names(folder->MediaFiles), (std::vector<Bytes>{"g.omf", "a.omf", "d.omf"}));
    EXPECT_EQ(ProjectsOf(folder->MediaFiles),
              (std::vector<Bytes>{"Gamma[OMFI MediaFiles]", "Spot30[Spot30_SIFTED]",
                                  "Trailer[Trailer_sifted]"}));
}

TEST(FolderScanTest, SiftedFolderListsEveryProjectOfItsFiles) {
    EmptyVolume volume;
    MakeFolder(volume.media + "/Spot30_sifted");
    WriteMediaFile(volume.media + "/Spot30_sifted/a.omf", "Spot30", 100);
    WriteMediaFile(volume.media + "/Spot30_sifted/b.omf", "Trailer", 101);
    WriteMediaFile(volume.media + "/Spot30_sifted/c.omf", "SPOT30", 102);

    auto folder = volume.Read();

    EXPECT_EQ(ProjectsOf(folder->MediaFiles),
              (std::vector<Bytes>{"Spot30[Spot30_sifted]", "Trailer[Spot30_sifted]",
                                  "SPOT30[Spot30_sifted]"}));
    // Every project is listed, each once whatever its letter case, and collects its files:
    // the Trailer file that was sifted along can go back on its own.
    const std::vector<Bytes> projects = folder->GetProjectList();
    ASSERT_EQ(projects.size(), 2u);
    EXPECT_TRUE(EqualsIgnoringCase(projects[0], "Spot30[Spot30_sifted]")) << projects[0];
    EXPECT_EQ(projects[1], "Trailer[Spot30_sifted]");
    EXPECT_EQ(folder->GetFilesForProject("Spot30[Spot30_sifted]").size(), 2u);
    EXPECT_EQ(folder->GetFilesForProject("Trailer[Spot30_sifted]").size(), 1u);
}

TEST(FolderScanTest, MediaFolderWithoutDatabaseListsEveryProject) {
    EmptyVolume volume;
    WriteMediaFile(volume.media + "/a.omf", "Spot30", 100);
    WriteMediaFile(volume.media + "/b.omf", "Trailer", 101);
    WriteFileWithoutTrailer(volume.media + "/c.wav", 300);
    WriteMediaFile(volume.media + "/d.omf", "Spot30", 102);

    auto folder = volume.Read();

    EXPECT_EQ(ProjectsOf(folder->MediaFiles),
              (std::vector<Bytes>{"Spot30[OMFI MediaFiles]", "Trailer[OMFI MediaFiles]",
                                  "[OMFI MediaFiles]", "Spot30[OMFI MediaFiles]"}));
    EXPECT_EQ(folder->GetProjectList(),
              (std::vector<Bytes>{"[OMFI MediaFiles]", "Spot30[OMFI MediaFiles]",
                                  "Trailer[OMFI MediaFiles]"}));
    EXPECT_EQ(folder->DumpStatus().substr(0, 16), "Media - 0 Files ");
}

TEST(FolderScanTest, AddedFolderIsKeyedByItsOwnName) {
    TempFolder temp;
    std::string cuts = MakeFolder(temp.Path("Cuts"));
    WriteMediaFile(cuts + "/a.omf", "Spot30", 100);
    MakeFolder(cuts + "/Spot30_sifted");
    WriteMediaFile(cuts + "/Spot30_sifted/b.omf", "Spot30", 101);

    Tarnwicker folder(FolderItem::OnItsVolume(cuts, RealFileSystem()), true);
    folder.ReadDatabase();

    EXPECT_EQ(ProjectsOf(folder.MediaFiles),
              (std::vector<Bytes>{"Spot30[Cuts]", "Spot30[Spot30_sifted]"}));
}

TEST(FolderScanTest, SymbolicLinksAreNotFollowed) {
    EmptyVolume volume;
    const std::string outside = MakeFolder(volume.temp.Path("outside"));
    WriteMediaFile(outside + "/far.omf", "Far", 100);
    MakeFolder(outside + "/Far_sifted");
    WriteMediaFile(outside + "/Far_sifted/deep.omf", "Far", 101);
    fs::create_symlink(outside + "/far.omf", volume.media + "/link.omf");
    fs::create_directory_symlink(outside + "/Far_sifted", volume.media + "/Far_sifted");
    fs::create_directory_symlink(outside, volume.media + "/Outside_sifted");
    WriteMediaFile(volume.media + "/real.omf", "Spot30", 102);

    auto folder = volume.Read();

    EXPECT_EQ(Names(folder->MediaFiles), std::vector<Bytes>{"real.omf"});
}

TEST(FolderScanTest, ScanChangesNothingOnDisk) {
    TempFolder temp;
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.omf", "Spot30"}, {"B.wav", "Trailer"}, {"C.aif", "Spot30"}});
    MakeFolder(volume.MediaPath("Spot30_sifted"));
    WriteMediaFile(volume.MediaPath("Spot30_sifted/D.omf"), "Spot30", 500);
    WriteFileWithoutTrailer(volume.MediaPath("E.sd2"), 64);
    const TreeSnapshot before = SnapshotTree(temp.path());

    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadDatabase();
    folder.ReadDatabase();
    folder.GetSize();

    EXPECT_EQ(folder.MediaFiles.size(), 3u + 2u);
    EXPECT_EQ(SnapshotTree(temp.path()), before);
}

TEST(FolderScanTest, ReadAFolderAppendsAndSkipsMissingFolders) {
    EmptyVolume volume;
    WriteMediaFile(volume.media + "/a.omf", "Spot30", 100);
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);

    folder.ReadAFolder(std::nullopt);
    folder.ReadAFolder(FolderItem::Volume(volume.top, RealFileSystem()).Child("nothing here"));
    EXPECT_TRUE(folder.MediaFiles.empty());

    folder.ReadAFolder(folder.mediafolder);
    folder.ReadAFolder(folder.mediafolder);
    EXPECT_EQ(folder.MediaFiles.size(), 2u);
    EXPECT_EQ(folder.projectdict.Count(), 1u);  // the one project, Spot30[OMFI MediaFiles]
}

TEST(FolderScanTest, YieldsForEveryEntry) {
    EmptyVolume volume;
    for (int i = 0; i < 5; ++i) {
        WriteFileBytes(volume.media + "/skip" + std::to_string(i) + ".txt", "x");
    }
    HookRecorder hooks;
    Tarnwicker folder(FolderItem::Volume(volume.top, RealFileSystem()), false);
    folder.ReadAFolder(folder.mediafolder);
    EXPECT_GE(hooks.yields, 5);
}

}  // namespace
}  // namespace mt
