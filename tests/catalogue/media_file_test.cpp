#include "catalogue/media_file.h"

#include <gtest/gtest.h>

#include "fixtures/media_files.h"
#include "fixtures/temp_folder.h"

namespace mt {
namespace {

TEST(MediaFileGetVolume, VolumeNameInsideMediaFolderElseTheHoldingFolder) {
    fixtures::TempFolder temp;
    const std::string volume = fixtures::MakeVolume(temp.path(), "Media");
    const std::string media = fixtures::MakeMediaFolder(volume);
    fixtures::MakeFolder(media + "/Spot30_sifted");
    fixtures::MakeFolder(volume + "/Other");
    struct Row {
        std::string relative;
        std::string expected;
    };
    for (const Row& row : {Row{"OMFI MediaFiles/a.omf", "Media"},
                           Row{"OMFI MediaFiles/Spot30_sifted/a.omf", "Media"},
                           Row{"Other/a.omf", "Media:Other:"}, Row{"a.omf", "Media:"}}) {
        fixtures::WriteFileBytes(volume + "/" + row.relative, "x");
        MediaFile file;
        file.file = fixtures::ItemOnVolume(volume, row.relative, RealFileSystem());
        EXPECT_EQ(file.GetVolume(), row.expected) << row.relative;
    }
    // Letter case of the media folder's name does not matter.
    const std::string lower = fixtures::MakeFolder(temp.Path("Disk2/omfi mediafiles"));
    fixtures::WriteFileBytes(lower + "/a.omf", "x");
    MediaFile file;
    file.file =
        fixtures::ItemOnVolume(temp.Path("Disk2"), "omfi mediafiles/a.omf", RealFileSystem());
    EXPECT_EQ(file.GetVolume(), "Disk2");
}

TEST(MediaFileGetVolume, NoReferenceOrNoParentGivesEmptyText) {
    fixtures::TempFolder temp;
    MediaFile file;
    EXPECT_EQ(file.GetVolume(), "");
    file.file = FolderItem::Volume(temp.path(), RealFileSystem());
    EXPECT_EQ(file.GetVolume(), "");
}

TEST(MediaFile, NameAndDateOfPresentAndMissingFiles) {
    fixtures::TempFolder temp;
    fixtures::WriteFileBytes(temp.Path("a.omf"), "x");
    MediaFile file;
    EXPECT_EQ(file.GetName(), "");
    EXPECT_FALSE(file.GetDate());
    EXPECT_EQ(file.GetDateString(), "");

    file.file = FolderItem::Volume(temp.path(), RealFileSystem()).Child("a.omf");
    EXPECT_EQ(file.GetName(), "a.omf");
    EXPECT_TRUE(file.GetDate());
    EXPECT_NE(file.GetDateString(), "");

    file.file = FolderItem::Volume(temp.path(), RealFileSystem()).Child("gone.omf");
    EXPECT_EQ(file.GetName(), "gone.omf");
    EXPECT_FALSE(file.GetDate());
    EXPECT_EQ(file.GetDateString(), "");
}

}  // namespace
}  // namespace mt
