// A project's status line, and its sift, unsift and copy.

#include "projects/project.h"

#include <cerrno>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"
#include "mediafolder/tarnwicker.h"

namespace mt {
namespace {

using namespace fixtures;

std::string SizeText(const std::string& path, int times = 1) {
    return Worker::MegaString(static_cast<double>(std::filesystem::file_size(path)) * times);
}

// A volume "Media" read into its media folder object, with names the folder scan does not
// take, so that each file is catalogued once (from the database).
struct ReadVolume {
    TempFolder temp;
    TestVolume volume;
    std::shared_ptr<Tarnwicker> folder;

    explicit ReadVolume(const std::vector<MediaSpec>& files, FileSystem& fs) {
        volume = BuildVolume(temp.path(), "Media", files);
        folder = std::make_shared<Tarnwicker>(FolderItem::Volume(volume.top, fs), false);
        folder->ReadDatabase();
    }
    ProjectPtr Project(const Bytes& name) {
        auto project = std::make_shared<mt::Project>(name);
        project->AddMediaFiles(folder->GetFilesForProject(name));
        return project;
    }
};

TEST(ProjectStatusTest, CountsFilesThatExistNow) {
    ReadVolume v({{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}}, RealFileSystem());
    const std::string a = v.volume.MediaPath("A.mxf");

    mt::Project empty("Spot30");
    EXPECT_EQ(empty.DumpStatus(), "Spot30 - 0 Files -");
    EXPECT_FALSE(empty.moved);
    EXPECT_EQ(empty.logstring, "");

    mt::Project one("Spot30");
    one.AddMediaFiles({v.folder->MediaFiles[0]});
    EXPECT_EQ(one.GetCount(), 1);
    EXPECT_EQ(one.DumpStatus(), "Spot30 - 1 Files " + SizeText(a));

    mt::Project twice("Spot30");
    twice.AddMediaFiles({v.folder->MediaFiles[0]});
    twice.AddMediaFiles({v.folder->MediaFiles[0]});
    EXPECT_EQ(twice.MediaFiles.size(), 2u);
    EXPECT_EQ(twice.DumpStatus(), "Spot30 - 2 Files " + SizeText(a, 2));

    mt::Project noReference("Spot30");
    noReference.AddMediaFiles({std::make_shared<MediaFile>()});
    EXPECT_EQ(noReference.DumpStatus(), "Spot30 - 0 Files -");

    std::filesystem::remove(a);
    EXPECT_EQ(one.DumpStatus(), "Spot30 - 0 Files -");
    EXPECT_EQ(twice.GetCount(), 0);
}

TEST(ProjectStatusTest, AddKeepsOrderAndSharesObjects) {
    ReadVolume v({{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Spot30"}}, RealFileSystem());
    ProjectPtr project = v.Project("Spot30");
    project->AddMediaFiles({});
    ASSERT_EQ(project->MediaFiles.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(project->MediaFiles[i], v.folder->MediaFiles[i]);
}

// Where the files of the project lie before an operation, and where they must be after.
enum class Place { MediaFolder, SiftedFolder, Target };

struct OperationCase {
    const char* label;
    Place before;
    Place after;
    const char* header;       // without the date stamp; "{target}" for the target's path
    const char* labelPrefix;  // of the status texts
    bool setsMoved;
    std::function<void(Project&, const FolderItem& target)> run;
};

class ProjectOperationTest : public ::testing::TestWithParam<OperationCase> {
protected:
    TempFolder temp;
    HookRecorder hooks;
};

TEST_P(ProjectOperationTest, ActsOnEveryFileAndLogs) {
    const OperationCase& c = GetParam();
    TestVolume volume = BuildVolume(temp.path(), "Media",
                                    {{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Spot30"}},
                                    /*withDatabase=*/false);
    const std::string sifted = volume.MediaPath("Spot30_sifted");
    const std::string target = temp.Path("Target");
    const std::vector<std::string> names = {"A.mxf", "B.mxf", "C.mxf"};
    if (c.before == Place::SiftedFolder) {
        MakeFolder(sifted);
        for (const auto& n : names) std::filesystem::rename(volume.MediaPath(n), sifted + "/" + n);
    }
    const std::string from = c.before == Place::SiftedFolder ? sifted : volume.media;
    std::map<std::string, std::optional<uint64_t>> sums;
    for (const auto& n : names) sums[n] = Checksum(from + "/" + n);

    Project project("Spot30");
    for (const auto& n : names) {
        auto media = std::make_shared<MediaFile>();
        media->filename = n;
        media->project = "Spot30";
        media->file = FolderItem(from + "/" + n, volume.top, RealFileSystem());
        project.MediaFiles.push_back(media);
    }
    FakeProgressBar bar;
    FakeStatusLabel label;
    project.progress = &bar;
    project.label = &label;
    SteppingTicks ticks;

    c.run(project, FolderItem::OnItsVolume(target, RealFileSystem()));

    const std::string to = c.after == Place::SiftedFolder ? sifted
                           : c.after == Place::Target     ? target
                                                          : volume.media;
    for (const auto& n : names) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Checksum(to + "/" + n), sums[n]);
        // A move leaves nothing behind; a copy leaves the source as it was.
        EXPECT_EQ(Checksum(from + "/" + n),
                  c.after == Place::Target ? sums[n] : std::optional<uint64_t>());
    }
    std::string header = c.header;
    if (auto at = header.find("{target}"); at != std::string::npos) header.replace(at, 8, target);
    EXPECT_EQ(LogOf(project), (std::vector<std::string>{header, " end "}));
    EXPECT_EQ(project.moved, c.setsMoved);
    EXPECT_TRUE(hooks.messages.empty());
    std::vector<std::string> texts;
    for (const auto& n : names) texts.push_back(c.labelPrefix + n);
    EXPECT_EQ(label.texts, texts);
    // 1/3, 2/3, then exactly the whole on the last file; then the bar goes.
    EXPECT_EQ(bar.values, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(bar.visibility.back(), false);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ProjectOperationTest,
    ::testing::Values(
        OperationCase{"Sift", Place::MediaFolder, Place::SiftedFolder, " Sift Project Spot30",
                      "Sift ", true, [](Project& p, const FolderItem&) { p.SiftProject(); }},
        OperationCase{"Unsift", Place::SiftedFolder, Place::MediaFolder, " Unsift Project Spot30",
                      "Unsift ", true, [](Project& p, const FolderItem&) { p.UnsiftProject(); }},
        OperationCase{"Copy", Place::MediaFolder, Place::Target, " Copy Project Spot30 to {target}",
                      "Copy ", false, [](Project& p, const FolderItem& t) { p.CopyProject(t); }},
        OperationCase{"CopyFromSiftedFolder", Place::SiftedFolder, Place::Target,
                      " Copy Project Spot30 to {target}", "Copy ", false,
                      [](Project& p, const FolderItem& t) { p.CopyProject(t); }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ProjectSiftTest, OneLookAtEachMediaFolderFindsTheFolderInAnyCase) {
    TempFolder temp;
    HookRecorder hooks;
    ScriptedFileSystem fs(RealFileSystem());
    TestVolume one = BuildVolume(temp.path(), "One",
                                 {{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Spot30"}});
    TestVolume two = BuildVolume(temp.path(), "Two", {{"D.mxf", "spot30"}, {"E.mxf", "spot30"}});
    MakeFolder(two.MediaPath("SPOT30_sifted"));
    Project project("Spot30");
    for (const TestVolume* volume : {&one, &two}) {
        Tarnwicker folder(FolderItem::Volume(volume->top, fs), false);
        folder.ReadDatabase();
        project.AddMediaFiles(folder.GetFilesForProject("Spot30"));
    }
    ASSERT_EQ(project.MediaFiles.size(), 5u);
    fs.SetScript({});

    project.SiftProject();

    EXPECT_EQ(
        ListTree(one.media),
        (std::vector<std::string>{"Spot30_sifted/", "Spot30_sifted/A.mxf", "Spot30_sifted/B.mxf",
                                  "Spot30_sifted/C.mxf", "msmFMID.pmr"}));
    EXPECT_EQ(ListTree(two.media),
              (std::vector<std::string>{"SPOT30_sifted/", "SPOT30_sifted/D.mxf",
                                        "SPOT30_sifted/E.mxf", "msmFMID.pmr"}));
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(fs.CountCalls("List", one.media), 1);
    EXPECT_EQ(fs.CountCalls("List", two.media), 1);
}

// Sound Designer II files keep their project in resource "OMF1" 1000 of the fork; here the
// fork and the type are extended attributes, and the copy goes to a card that takes none.
TEST(ProjectCopyTest, CopyOntoAVolumeWithoutAttributesReadsBackWithItsProjects) {
    TempFolder temp;
    if (!SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    HookRecorder hooks;
    const std::string media = MakeMediaFolder(MakeVolume(temp.path(), "Media"));
    auto sd2 = [&](const std::string& name, const Bytes& project) {
        WriteFileWithoutTrailer(media + "/" + name, 3000, static_cast<unsigned>(name.size()));
        SetFinderInfoAttribute(media + "/" + name, "Sd2f", "Sd2a");
        SetResourceForkAttribute(
            media + "/" + name,
            BuildResourceFork({{"OMF1", 1000, Bytes(12, '\0') + ProjectField(project), {}}}));
    };
    sd2("Spot30 A1.sd2", "Spot30");
    sd2("Spot30 A2.sd2", "Spot30");
    sd2("Trailer A1.sd2", "Trailer");
    WriteMediaFile(media + "/Spot30 V1.omf", "Spot30", 4000);
    const std::string card = MakeFolder(temp.Path("Card"));
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.RefuseAttributesBelow(card);
    Tarnwicker folder(FolderItem::Volume(temp.Path("Media"), fs), false);
    folder.ReadDatabase();
    ASSERT_EQ(folder.GetProjectList(),
              (std::vector<Bytes>{"Spot30[OMFI MediaFiles]", "Trailer[OMFI MediaFiles]"}));
    Project project("Spot30[OMFI MediaFiles]");
    project.AddMediaFiles(folder.GetFilesForProject(project.projectname));
    ASSERT_EQ(project.MediaFiles.size(), 3u);

    project.CopyProject(FolderItem::OnItsVolume(card, fs));

    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(ListFolder(card),
              (std::vector<std::string>{"._Spot30 A1.sd2", "._Spot30 A2.sd2", "Spot30 A1.sd2",
                                        "Spot30 A2.sd2", "Spot30 V1.omf"}));
    Tarnwicker copied(FolderItem::OnItsVolume(card, RealFileSystem()), true);
    copied.ReadDatabase();
    EXPECT_EQ(copied.GetProjectList(), std::vector<Bytes>{"Spot30[Card]"});
    ASSERT_EQ(copied.MediaFiles.size(), 3u);
    for (const auto& media : copied.MediaFiles) {
        EXPECT_EQ(media->fileproject, "Spot30") << media->filename;
    }
    EXPECT_EQ(copied.GetSize(), project.GetSize()) << "the forks count in the sizes too";
}

// A long file is copied in pieces, and the window gets its turn between them: the bar
// moves within the file and the event loop runs before the copy has its name.
TEST(ProjectCopyTest, LongFileYieldsBetweenItsPieces) {
    TempFolder temp;
    HookRecorder hooks;
    ReadVolume v({{"Long.mxf", "Spot30", 3 * 1024 * 1024 + 512 * 1024}, {"Short.mxf", "Spot30"}},
                 RealFileSystem());
    ProjectPtr project = v.Project("Spot30");
    const std::string target = v.temp.Path("Target");
    int yieldsDuringTheLongCopy = 0;
    CurrentHooks().yield = [&] {
        ++hooks.yields;
        if (!PathExists(target + "/Long.mxf")) ++yieldsDuringTheLongCopy;
    };
    FakeProgressBar bar;
    project->progress = &bar;
    SteppingTicks ticks;

    project->CopyProject(FolderItem::OnItsVolume(target, RealFileSystem()));

    EXPECT_EQ(ListFolder(target), (std::vector<std::string>{"Long.mxf", "Short.mxf"}));
    EXPECT_GE(yieldsDuringTheLongCopy, 3);
    // 1, 2 and 3 of 3.5 pieces of the first of two files, its end, then the second file.
    EXPECT_EQ(bar.values, (std::vector<int>{14, 28, 42, 50, 100}));
    EXPECT_TRUE(hooks.messages.empty());
}

class ProjectGuardTest : public ::testing::Test {
protected:
    HookRecorder hooks;
};

TEST_F(ProjectGuardTest, MovedProjectRefusesSiftAndUnsiftButNotCopy) {
    ReadVolume v({{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}}, RealFileSystem());
    ProjectPtr project = v.Project("Spot30");
    FakeProgressBar bar;
    project->progress = &bar;
    project->SiftProject();
    ASSERT_TRUE(project->moved);
    ASSERT_TRUE(hooks.messages.empty());
    const TreeSnapshot afterSift = SnapshotTree(v.volume.top);
    const size_t barCalls = bar.visibility.size();

    project->SiftProject();
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"Project has already been sifted"});
    EXPECT_EQ(LogOf(*project),
              (std::vector<std::string>{" Sift Project Spot30",
                                        "Error: Project has already been sifted", " end "}));
    EXPECT_EQ(bar.visibility.size(), barCalls);  // no progress for a refusal

    project->UnsiftProject();
    EXPECT_EQ(hooks.messages.back(), "Project has allready been unsifted");
    EXPECT_EQ(LogOf(*project),
              (std::vector<std::string>{" Unsift Project Spot30",
                                        "Error: Project has already been unsifted", " end "}));
    EXPECT_EQ(SnapshotTree(v.volume.top), afterSift);
    EXPECT_TRUE(project->moved);

    // Copy ignores the guard. The records still name the files where the scan found them,
    // so there is nothing to copy until a new scan, and that is no error.
    hooks.messages.clear();
    const std::string target = v.temp.Path("Target");
    project->CopyProject(FolderItem::OnItsVolume(target, RealFileSystem()));
    EXPECT_EQ(LogOf(*project),
              (std::vector<std::string>{" Copy Project Spot30 to " + target, " end "}));
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(SnapshotTree(v.volume.top), afterSift);
}

TEST_F(ProjectGuardTest, UnsiftAlsoMarksTheProjectMoved) {
    mt::Project project("Empty");
    project.UnsiftProject();
    EXPECT_TRUE(project.moved);
    EXPECT_EQ(LogOf(project), (std::vector<std::string>{" Unsift Project Empty", " end "}));
    project.SiftProject();
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"Project has already been sifted"});
}

TEST_F(ProjectGuardTest, CopyNeverMarksTheProjectMoved) {
    TempFolder temp;
    mt::Project project("Empty");
    project.CopyProject(FolderItem::OnItsVolume(temp.path(), RealFileSystem()));
    project.CopyProject(FolderItem::OnItsVolume(temp.path(), RealFileSystem()));
    EXPECT_FALSE(project.moved);
    project.SiftProject();
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(LogOf(project), (std::vector<std::string>{" Sift Project Empty", " end "}));
}

TEST(ProjectFailureTest, OneFailingFileAmongManyGivesOneLineAndOneBoxAtTheEnd) {
    FaultInjectingFileSystem fs(RealFileSystem());
    fs.FailNthRename(3, EACCES);
    ReadVolume v({{"1.mxf", "Spot30"},
                  {"2.mxf", "Spot30"},
                  {"3.mxf", "Spot30"},
                  {"4.mxf", "Spot30"},
                  {"5.mxf", "Spot30"}},
                 fs);
    ProjectPtr project = v.Project("Spot30");
    HookRecorder hooks;
    // What the caller will find when the box comes up.
    std::string logAtBox;
    bool movedAtBox = false;
    CurrentHooks().messageBox = [&](const std::string& text) {
        hooks.messages.push_back(text);
        logAtBox = project->logstring;
        movedAtBox = project->moved;
    };
    const auto sums = ContentChecksums(SnapshotTree(v.volume.top));

    project->SiftProject();

    EXPECT_EQ(ListFolder(v.volume.MediaPath("Spot30_sifted")),
              (std::vector<std::string>{"1.mxf", "2.mxf", "4.mxf", "5.mxf"}));
    EXPECT_TRUE(PathExists(v.volume.MediaPath("3.mxf")));
    EXPECT_EQ(ContentChecksums(SnapshotTree(v.volume.top)), sums);
    EXPECT_EQ(LogOf(*project),
              (std::vector<std::string>{" Sift Project Spot30",
                                        "Error 102: Access denied. " + v.volume.MediaPath("3.mxf"),
                                        " end "}));
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"There were some errors. See the log tab."});
    EXPECT_EQ(logAtBox, project->logstring);
    EXPECT_TRUE(movedAtBox);
}

TEST(ProjectFailureTest, CopyIntoFolderThatHoldsSomeFilesKeepsThemAndCopiesTheRest) {
    HookRecorder hooks;
    ReadVolume v({{"A.mxf", "Spot30"}, {"B.mxf", "Spot30"}, {"C.mxf", "Spot30"}}, RealFileSystem());
    const std::string target = MakeFolder(v.temp.Path("Target"));
    WriteFileBytes(target + "/B.mxf", "older copy");
    ProjectPtr project = v.Project("Spot30");

    project->CopyProject(FolderItem::OnItsVolume(target, RealFileSystem()));

    EXPECT_EQ(Checksum(target + "/A.mxf"), Checksum(v.volume.MediaPath("A.mxf")));
    EXPECT_EQ(ReadFileBytes(target + "/B.mxf"), "older copy");
    EXPECT_EQ(Checksum(target + "/C.mxf"), Checksum(v.volume.MediaPath("C.mxf")));
    EXPECT_EQ(ListFolder(target), (std::vector<std::string>{"A.mxf", "B.mxf", "C.mxf"}));
    EXPECT_EQ(LogOf(*project),
              (std::vector<std::string>{
                  " Copy Project Spot30 to " + target,
                  "File exists already on destination " + v.volume.MediaPath("B.mxf"), " end "}));
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"There were some errors. See the log tab."});
    EXPECT_FALSE(project->moved);
}

TEST(ProjectFailureTest, CopyThatRunsOutOfSpaceLeavesNoPartialFile) {
    HookRecorder hooks;
    FaultInjectingFileSystem fs(RealFileSystem());
    ReadVolume v({{"A.mxf", "Spot30", 4000}, {"B.mxf", "Spot30", 4000}}, fs);
    const std::string target = MakeFolder(v.temp.Path("Target"));
    ProjectPtr project = v.Project("Spot30");
    fs.FailWritesAfter(5000);

    project->CopyProject(FolderItem::OnItsVolume(target, fs));

    // The first fits, the second does not; no half-written file is left under any name.
    EXPECT_EQ(ListFolder(target), std::vector<std::string>{"A.mxf"});
    EXPECT_EQ(Checksum(target + "/A.mxf"), Checksum(v.volume.MediaPath("A.mxf")));
    const auto log = LogOf(*project);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].rfind("Error: ", 0), 0u) << log[1];
    EXPECT_EQ(log[1].substr(log[1].size() - v.volume.MediaPath("B.mxf").size() - 1),
              " " + v.volume.MediaPath("B.mxf"));
    EXPECT_EQ(hooks.messages.size(), 1u);
}

}  // namespace
}  // namespace mt
