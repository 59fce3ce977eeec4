#include "platform/file_list.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"

namespace mt {
namespace {

TEST(FileList, EntriesWithKindVisibilityAndItem) {
    fixtures::TempFolder temp;
    const std::string folder = fixtures::MakeFolder(temp.Path("OMFI MediaFiles"));
    fixtures::WriteFileBytes(folder + "/b.omf", "x");
    fixtures::WriteFileBytes(folder + "/._b.omf", "x");
    fixtures::WriteFileBytes(folder + "/.DS_Store", "x");
    fixtures::MakeFolder(folder + "/P_sifted");
    fixtures::MakeFolder(temp.Path("elsewhere"));
    std::filesystem::create_directory_symlink(temp.Path("elsewhere"), folder + "/link_sifted");
    std::filesystem::create_symlink(folder + "/b.omf", folder + "/a.omf");

    FileList list(FolderItem::Volume(folder, RealFileSystem()));
    struct Row {
        const char* name;
        bool directory;
        bool visible;
    };
    const std::vector<Row> expected = {{".DS_Store", false, false}, {"._b.omf", false, false},
                                       {"P_sifted", true, true},    {"a.omf", false, false},
                                       {"b.omf", false, true},      {"link_sifted", false, false}};
    ASSERT_EQ(list.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < list.Count(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(list.Name(i), expected[i].name);
        EXPECT_EQ(list.Directory(i), expected[i].directory);
        EXPECT_EQ(list.Visible(i), expected[i].visible);
        EXPECT_EQ(list.Item(i).ShellPath(), folder + "/" + expected[i].name);
        EXPECT_EQ(list.Item(i).VolumeRoot(), folder);
    }
}

TEST(FileList, MissingFolderOrFileIsEmpty) {
    fixtures::TempFolder temp;
    fixtures::WriteFileBytes(temp.Path("file"), "x");
    EXPECT_EQ(FileList(FolderItem::Volume(temp.Path("missing"), RealFileSystem())).Count(), 0);
    EXPECT_EQ(FileList(FolderItem::Volume(temp.Path("file"), RealFileSystem())).Count(), 0);
}

}  // namespace
}  // namespace mt
