// The volume scan without the window: every folder reads its catalogue, project names are
// merged, and one project per name collects its files from every folder.

#include "projects/volume_scan.h"

#include <gtest/gtest.h>

#include "fixtures/fake_window.h"
#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"
#include "fixtures/volume_builder.h"

namespace mt {
namespace {

using namespace fixtures;

std::vector<Bytes> NamesOf(const std::vector<ProjectPtr>& projects) {
    std::vector<Bytes> out;
    for (const auto& p : projects) out.push_back(p->projectname);
    return out;
}

ProjectPtr Find(const std::vector<ProjectPtr>& projects, const Bytes& name) {
    for (const auto& p : projects) {
        if (p->projectname == name) return p;
    }
    return nullptr;
}

TarnwickerPtr OnVolume(const TestVolume& volume) {
    return std::make_shared<Tarnwicker>(FolderItem::Volume(volume.top, RealFileSystem()), false);
}

ProjectLists Scan(const std::vector<TarnwickerPtr>& folders, bool force = false) {
    return BuildProjects(ReadVolumeCatalogues(folders, force, nullptr), folders, nullptr);
}

class VolumeScanTest : public ::testing::Test {
protected:
    TempFolder temp;
    HookRecorder hooks;
};

TEST_F(VolumeScanTest, ProjectOnTwoVolumesIsOneProjectFirstVolumeFirst) {
    TestVolume one = BuildVolume(temp.path(), "One", {{"A.mxf", "Spot30"}, {"B.mxf", "Trailer"}});
    TestVolume two = BuildVolume(temp.path(), "Two", {{"C.mxf", "Spot30"}, {"D.mxf", "spot30"}});
    std::vector<TarnwickerPtr> folders = {OnVolume(one), OnVolume(two)};

    ProjectLists lists = Scan(folders);

    ASSERT_EQ(NamesOf(lists.projects).size(), 2u);
    EXPECT_TRUE(EqualsIgnoringCase(lists.projects[0]->projectname, "Spot30"));
    EXPECT_EQ(lists.projects[1]->projectname, "Trailer");
    EXPECT_TRUE(lists.siftedProjects.empty());
    const MediaFileList& files = lists.projects[0]->MediaFiles;
    ASSERT_EQ(files.size(), 3u);
    // The very objects of the folders, first folder's first.
    EXPECT_EQ(files[0], folders[0]->MediaFiles[0]);
    EXPECT_EQ(files[1], folders[1]->MediaFiles[0]);
    EXPECT_EQ(files[2], folders[1]->MediaFiles[1]);
    EXPECT_EQ(lists.projects[0]->moved, false);
}

TEST_F(VolumeScanTest, SiftedNamesGoToTheirOwnList) {
    TestVolume volume =
        BuildVolume(temp.path(), "Media", {{"A.mxf", "Spot30"}, {"B.mxf", "Old_Sifted"}});
    MakeFolder(volume.MediaPath("Trailer_sifted"));
    WriteMediaFile(volume.MediaPath("Trailer_sifted/T.omf"), "Trailer", 100);
    std::vector<TarnwickerPtr> folders = {OnVolume(volume)};

    ProjectLists lists = Scan(folders);

    EXPECT_EQ(NamesOf(lists.projects), std::vector<Bytes>{"Spot30"});
    EXPECT_EQ(NamesOf(lists.siftedProjects),
              (std::vector<Bytes>{"Old_Sifted", "Trailer[Trailer_sifted]"}));
    ProjectPtr sifted = Find(lists.siftedProjects, "Trailer[Trailer_sifted]");
    ASSERT_TRUE(sifted);
    ASSERT_EQ(sifted->MediaFiles.size(), 1u);
    EXPECT_EQ(sifted->MediaFiles[0]->filename, "T.omf");
}

TEST_F(VolumeScanTest, NamelessProjectCollectsOnlyItsOwnFiles) {
    // A database that names no project for some files (as real ones may) and one that does.
    TestVolume one = BuildVolume(temp.path(), "One", {{"A.mxf", ""}, {"B.mxf", "Spot30"}});
    TestVolume two = BuildVolume(temp.path(), "Two", {{"C.mxf", "Trailer"}, {"D.mxf", ""}});
    std::vector<TarnwickerPtr> folders = {OnVolume(one), OnVolume(two)};

    ProjectLists lists = Scan(folders);

    EXPECT_EQ(NamesOf(lists.projects), (std::vector<Bytes>{"", "Spot30", "Trailer"}));
    EXPECT_EQ(lists.projects[0]->MediaFiles,
              (MediaFileList{folders[0]->MediaFiles[0], folders[1]->MediaFiles[1]}));
    EXPECT_EQ(lists.projects[1]->MediaFiles, MediaFileList{folders[0]->MediaFiles[1]});
    // Asked for the empty name, a folder still gives every member (the Bins tab needs them).
    EXPECT_EQ(folders[0]->GetFilesForProject(""), folders[0]->MediaFiles);
}

TEST_F(VolumeScanTest, FolderWithoutDatabaseListsEveryProject) {
    TestVolume volume = BuildVolume(
        temp.path(), "Media",
        {{"A.omf", "Spot30"}, {"B.omf", "Trailer"}, {"C.omf", "Promo"}, {"D.omf", "Spot30"}},
        /*withDatabase=*/false);
    MakeFolder(volume.MediaPath("Old_sifted"));
    WriteMediaFile(volume.MediaPath("Old_sifted/E.omf"), "Old", 100);
    WriteMediaFile(volume.MediaPath("Old_sifted/F.omf"), "Other", 101);
    std::vector<TarnwickerPtr> folders = {OnVolume(volume)};

    ProjectLists lists = Scan(folders);

    EXPECT_EQ(NamesOf(lists.projects),
              (std::vector<Bytes>{"Promo[OMFI MediaFiles]", "Spot30[OMFI MediaFiles]",
                                  "Trailer[OMFI MediaFiles]"}));
    EXPECT_EQ(NamesOf(lists.siftedProjects),
              (std::vector<Bytes>{"Old[Old_sifted]", "Other[Old_sifted]"}));
    ProjectPtr spot = Find(lists.projects, "Spot30[OMFI MediaFiles]");
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->MediaFiles.size(), 2u);
    // Each file belongs to exactly one project.
    size_t members = 0;
    for (const auto* list : {&lists.projects, &lists.siftedProjects}) {
        for (const auto& project : *list) members += project->MediaFiles.size();
    }
    EXPECT_EQ(members, folders[0]->MediaFiles.size());
}

TEST_F(VolumeScanTest, UnforcedScanRereadsOnlyFoldersWithoutDatabase) {
    TestVolume withDatabase = BuildVolume(temp.path(), "One", {{"A.mxf", "Spot30"}});
    TestVolume withoutDatabase =
        BuildVolume(temp.path(), "Two", {{"B.omf", "Trailer"}}, /*withDatabase=*/false);
    std::vector<TarnwickerPtr> folders = {OnVolume(withDatabase), OnVolume(withoutDatabase)};
    Scan(folders);
    const MediaFileList firstOne = folders[0]->MediaFiles;
    const MediaFileList firstTwo = folders[1]->MediaFiles;
    ASSERT_TRUE(folders[0]->Scanned());
    ASSERT_FALSE(folders[1]->Scanned());
    WriteMediaFile(withDatabase.MediaPath("Late.omf"), "Late", 100);
    WriteMediaFile(withoutDatabase.MediaPath("Late.omf"), "Late", 100);

    ProjectLists lists = Scan(folders);

    EXPECT_EQ(folders[0]->MediaFiles, firstOne);  // not read again
    EXPECT_EQ(folders[1]->MediaFiles.size(), firstTwo.size() + 1);
    EXPECT_NE(folders[1]->MediaFiles[0], firstTwo[0]);
    EXPECT_FALSE(Find(lists.projects, "Late[OMFI MediaFiles]") == nullptr);

    Scan(folders, /*force=*/true);
    EXPECT_EQ(folders[0]->MediaFiles.size(), firstOne.size() + 1);
    EXPECT_NE(folders[0]->MediaFiles[0], firstOne[0]);
}

TEST_F(VolumeScanTest, FoldersWithoutMediaAddNoProjects) {
    MakeVolume(temp.path(), "Bare");
    MakeMediaFolder(MakeVolume(temp.path(), "Empty"));
    std::vector<TarnwickerPtr> folders = {
        std::make_shared<Tarnwicker>(FolderItem::Volume(temp.Path("Bare"), RealFileSystem()),
                                     false),
        std::make_shared<Tarnwicker>(FolderItem::Volume(temp.Path("Empty"), RealFileSystem()),
                                     false),
        nullptr};
    std::vector<size_t> seen;

    CaseInsensitiveDictionary names =
        ReadVolumeCatalogues(folders, false, [&](size_t i) { seen.push_back(i); });
    ProjectLists lists = BuildProjects(names, folders, nullptr);

    EXPECT_EQ(seen, (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(names.Count(), 0u);
    EXPECT_TRUE(lists.projects.empty());
    EXPECT_TRUE(lists.siftedProjects.empty());
    EXPECT_EQ(folders[0]->DumpStatus(), "Bare - 0 Files - - no OMFI MediaFolder");
}

TEST_F(VolumeScanTest, AfterProjectReportsEachInSortedOrder) {
    TestVolume volume = BuildVolume(
        temp.path(), "Media", {{"A.mxf", "zulu"}, {"B.mxf", "Alpha_sifted"}, {"C.mxf", "beta"}});
    std::vector<TarnwickerPtr> folders = {OnVolume(volume)};
    std::vector<std::tuple<size_t, Bytes, bool>> seen;

    BuildProjects(ReadVolumeCatalogues(folders, false, nullptr), folders,
                  [&](size_t k, const ProjectPtr& p, bool sifted) {
                      seen.emplace_back(k, p->projectname, sifted);
                  });

    EXPECT_EQ(seen, (std::vector<std::tuple<size_t, Bytes, bool>>{
                        {0, "Alpha_sifted", true}, {1, "beta", false}, {2, "zulu", false}}));
}

TEST(ScanProgressTest, FoldersFillTheFirstHalf) {
    struct Case {
        size_t n;
        std::vector<int> values;
    };
    for (const Case& c : {Case{4, {0, 12, 25, 37}}, Case{3, {0, 16, 33}}, Case{1, {0}}}) {
        std::vector<int> got;
        for (size_t i = 0; i < c.n; ++i) got.push_back(ProgressAfterFolder(i, c.n));
        EXPECT_EQ(got, c.values) << c.n << " folders";
    }
    EXPECT_EQ(ProgressAfterFolder(0, 0), 0);
}

TEST(ScanProgressTest, ProjectsFillTheSecondHalf) {
    struct Case {
        size_t names;
        std::vector<int> values;
    };
    for (const Case& c :
         {Case{3, {50, 75, 100}}, Case{1, {50}}, Case{2, {50, 100}}, Case{4, {50, 66, 83, 100}}}) {
        std::vector<int> got;
        for (size_t k = 0; k < c.names; ++k) got.push_back(ProgressAfterProject(k, c.names - 1));
        EXPECT_EQ(got, c.values) << c.names << " names";
    }
}

}  // namespace
}  // namespace mt
