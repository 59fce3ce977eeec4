#include "platform/folder_item.h"

#include <cerrno>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fixtures/fault_injecting_file_system.h"
#include "fixtures/mac_metadata_builders.h"
#include "fixtures/media_files.h"
#include "fixtures/realdata.h"
#include "fixtures/temp_folder.h"
#include "platform/binary_stream.h"
#include "platform/resource_fork.h"

namespace mt {
namespace {

using fixtures::ListFolder;
using fixtures::PathExists;
using ::testing::ElementsAre;

class FolderItemTest : public ::testing::Test {
protected:
    fixtures::TempFolder temp;
    std::string volumePath = fixtures::MakeVolume(temp.path(), "Media");
    std::string mediaPath = fixtures::MakeMediaFolder(volumePath);
    FolderItem volume = FolderItem::Volume(volumePath, RealFileSystem());
    FolderItem media = volume.Child("OMFI MediaFiles");
};

TEST_F(FolderItemTest, ChildMapsSlashToColonOnDisk) {
    fixtures::WriteFileBytes(mediaPath + "/A:B.omf", "x");
    FolderItem child = media.Child("A/B.omf");
    EXPECT_EQ(child.ShellPath(), mediaPath + "/A:B.omf");
    EXPECT_TRUE(child.Exists());
    EXPECT_EQ(child.Name(), "A:B.omf");
    // The colon form shows the name as the Mac does.
    EXPECT_EQ(child.ColonPath(), "Media:OMFI MediaFiles:A/B.omf");
}

TEST_F(FolderItemTest, NamesThatLeadNowhereNeverExistAndEveryOperationFails) {
    fixtures::WriteFileBytes(mediaPath + "/clip.omf", "data");
    FolderItem file = media.Child("clip.omf");
    for (const Bytes& name : {Bytes(""), Bytes("."), Bytes(".."), Bytes("a\0b", 3)}) {
        SCOPED_TRACE("name \"" + name + "\"");
        FolderItem bad = media.Child(name);
        EXPECT_EQ(bad.Name(), name) << "the name shown is the one asked for, not the folder's";
        EXPECT_FALSE(bad.Exists());
        EXPECT_FALSE(bad.IsFolder());
        EXPECT_FALSE(bad.Child("x").Exists()) << "a child of such an entry is no better";

        EXPECT_FALSE(file.MoveFileTo(bad));
        EXPECT_EQ(file.LastErrorCode(), kInvalidNameCode);
        EXPECT_FALSE(file.CopyFileTo(bad));
        EXPECT_EQ(file.LastErrorCode(), kInvalidNameCode);
        EXPECT_FALSE(bad.MoveFileTo(volume));
        EXPECT_EQ(bad.LastErrorCode(), kInvalidNameCode);
        EXPECT_FALSE(bad.CopyFileTo(volume));
        EXPECT_EQ(bad.LastErrorCode(), kInvalidNameCode);
        EXPECT_FALSE(bad.CreateAsFolder());
        EXPECT_EQ(bad.LastErrorCode(), kInvalidNameCode);
    }
    EXPECT_THAT(ListFolder(volumePath), ElementsAre("OMFI MediaFiles"));
    EXPECT_THAT(ListFolder(mediaPath), ElementsAre("clip.omf"));
}

TEST_F(FolderItemTest, ColonPathEndsWithColonForFolders) {
    fixtures::MakeFolder(mediaPath + "/Spot30_sifted");
    fixtures::WriteFileBytes(mediaPath + "/Spot30_sifted/a.omf", "x");
    struct Row {
        FolderItem item;
        std::string colonPath;
    };
    for (const Row& row :
         {Row{volume, "Media:"}, Row{media, "Media:OMFI MediaFiles:"},
          Row{media.Child("Spot30_sifted"), "Media:OMFI MediaFiles:Spot30_sifted:"},
          Row{media.Child("Spot30_sifted").Child("a.omf"),
              "Media:OMFI MediaFiles:Spot30_sifted:a.omf"},
          Row{media.Child("missing"), "Media:OMFI MediaFiles:missing"}}) {
        EXPECT_EQ(row.item.ColonPath(), row.colonPath) << row.item.ShellPath();
    }
    EXPECT_EQ(FolderItem::Volume(volumePath + "/", RealFileSystem()).ColonPath(), "Media:");
}

TEST_F(FolderItemTest, ColonInTheVolumeNameShowsAsSlash) {
    const std::string odd = fixtures::MakeFolder(temp.Path("Disk:2"));
    fixtures::MakeMediaFolder(odd);
    FolderItem top = FolderItem::Volume(odd, RealFileSystem());
    EXPECT_EQ(top.ColonPath(), "Disk/2:");
    EXPECT_EQ(top.Child("OMFI MediaFiles").ColonPath(), "Disk/2:OMFI MediaFiles:");
}

TEST_F(FolderItemTest, ParentsEndAtTheVolumeTop) {
    EXPECT_FALSE(volume.Parent());
    auto up = media.Child("clip.omf").Parent();
    ASSERT_TRUE(up);
    EXPECT_EQ(up->ShellPath(), mediaPath);
    EXPECT_EQ(up->VolumeName(), "Media");
    auto top = up->Parent();
    ASSERT_TRUE(top);
    EXPECT_EQ(top->ShellPath(), volumePath);
    EXPECT_FALSE(top->Parent());
}

TEST_F(FolderItemTest, SymbolicLinkToAFolderIsNoFolder) {
    const std::string elsewhere = fixtures::MakeFolder(temp.Path("elsewhere"));
    std::filesystem::create_directory_symlink(elsewhere, mediaPath + "/link");
    FolderItem link = media.Child("link");
    EXPECT_TRUE(link.Exists());
    EXPECT_TRUE(link.IsSymlink());
    EXPECT_FALSE(link.IsFolder());
    EXPECT_TRUE(media.IsFolder());
    EXPECT_FALSE(media.IsSymlink());
}

TEST_F(FolderItemTest, LengthAndCount) {
    fixtures::WriteFileBytes(mediaPath + "/a.omf", fixtures::Payload(1234));
    fixtures::WriteFileBytes(mediaPath + "/.hidden", "x");
    fixtures::MakeFolder(mediaPath + "/P_sifted");
    EXPECT_EQ(media.Child("a.omf").Length(), 1234u);
    EXPECT_EQ(media.Child("gone.omf").Length(), 0u);
    EXPECT_EQ(media.Count(), 3);
    EXPECT_EQ(media.Child("P_sifted").Count(), 0);
    EXPECT_TRUE(media.Child("a.omf").CreationDate().has_value());
    EXPECT_FALSE(media.Child("gone.omf").CreationDate().has_value());
}

TEST_F(FolderItemTest, MacMetadataFromSidecar) {
    const std::string path = mediaPath + "/clip";
    fixtures::WriteFileBytes(path, "data");
    const Bytes fork = fixtures::BuildResourceFork({{"OMF1", 1000, "abc", std::nullopt}});
    fixtures::WriteSidecar(path, "ATmf", "AvMC", fork);
    FolderItem clip = media.Child("clip");
    EXPECT_EQ(clip.MacType(), "ATmf");
    EXPECT_EQ(clip.ResourceFork(), fork);
    EXPECT_EQ(clip.ResourceForkLength(), fork.size());
    EXPECT_EQ(clip.Length(), 4u) << "the data fork alone";
}

TEST_F(FolderItemTest, MacMetadataFromExtendedAttributes) {
    if (!fixtures::SupportsUserAttributes(temp.path())) GTEST_SKIP() << "no user xattrs here";
    const std::string path = mediaPath + "/clip";
    fixtures::WriteFileBytes(path, "data");
    const Bytes fork = fixtures::BuildResourceFork({{"OMF1", 1000, "abc", std::nullopt}});
    fixtures::SetFinderInfoAttribute(path, "Sd2f");
    fixtures::SetResourceForkAttribute(path, fork);
    FolderItem clip = media.Child("clip");
    EXPECT_EQ(clip.MacType(), "Sd2f");
    EXPECT_EQ(clip.ResourceForkLength(), fork.size());
}

TEST_F(FolderItemTest, NoMetadataGivesNoTypeAndNoFork) {
    fixtures::WriteFileBytes(mediaPath + "/plain.omf", "data");
    fixtures::WriteFileBytes(mediaPath + "/zero", "data");
    fixtures::WriteSidecar(mediaPath + "/zero", Bytes(4, '\0'), Bytes(4, '\0'));
    for (const char* name : {"plain.omf", "zero", "missing"}) {
        FolderItem item = media.Child(name);
        EXPECT_EQ(item.MacType(), "") << name;
        EXPECT_EQ(item.ResourceForkLength(), 0u) << name;
        EXPECT_FALSE(item.ResourceFork()) << name;
    }
}

// Linux's HFS+ driver: a file's resource fork is the entry "rsrc" inside it.
class HfsForks : public FileSystemWrapper {
public:
    HfsForks() : FileSystemWrapper(RealFileSystem()) {}
    FileInfo Stat(const std::string& p) override {
        if (auto it = forks.find(p); it != forks.end()) {
            FileInfo info;
            info.exists = true;
            info.size = it->second.size();
            return info;
        }
        return target_.Stat(p);
    }
    std::unique_ptr<ReadableFile> OpenRead(const std::string& p, FileError* e) override {
        ++opens[p];
        if (auto it = forks.find(p); it != forks.end())
            return std::make_unique<MemoryFile>(it->second);
        return target_.OpenRead(p, e);
    }
    std::map<std::string, Bytes> forks;  // by the path of "name/rsrc"
    std::map<std::string, int> opens;
};

TEST_F(FolderItemTest, ResourceForkOfHfsPlusOnLinuxComesLast) {
    const Bytes hfs = fixtures::BuildResourceFork({{"OMF1", 1000, "hfs", std::nullopt}});
    const Bytes side = fixtures::BuildResourceFork({{"OMF1", 1000, "sidecar", std::nullopt}});
    HfsForks fs;
    for (const char* name : {"voice", "both", "empty"}) {
        fixtures::WriteFileBytes(mediaPath + "/" + name, "data");
        fs.forks[mediaPath + "/" + name + "/rsrc"] = hfs;
    }
    fs.forks[mediaPath + "/empty/rsrc"] = "";
    fixtures::WriteSidecar(mediaPath + "/both", "Sd2f", "Sd2a", side);
    const FolderItem folder = FolderItem::Volume(mediaPath, fs);

    EXPECT_EQ(folder.Child("voice").ResourceFork(), hfs);
    EXPECT_EQ(folder.Child("voice").ResourceForkLength(), hfs.size());
    EXPECT_EQ(folder.Child("both").ResourceFork(), side);
    EXPECT_EQ(fs.opens[mediaPath + "/both/rsrc"], 0) << "looked at only when nothing else holds it";
    EXPECT_FALSE(folder.Child("empty").ResourceFork()) << "an empty fork is none";
    EXPECT_EQ(folder.Child("empty").ResourceForkLength(), 0u);

    // The copy of a file whose fork is only there carries it in a sidecar.
    const std::string target = fixtures::MakeFolder(temp.Path("Card"));
    FolderItem voice = folder.Child("voice");
    ASSERT_TRUE(voice.CopyFileTo(FolderItem::Volume(target, fs)));
    EXPECT_THAT(ListFolder(target), ElementsAre("._voice", "voice"));
    EXPECT_EQ(FolderItem::Volume(target, RealFileSystem()).Child("voice").ResourceFork(), hfs);
}

TEST_F(FolderItemTest, RsrcFileInAFolderIsNoFork) {
    fixtures::MakeFolder(mediaPath + "/clip.omf");
    fixtures::WriteFileBytes(mediaPath + "/clip.omf/rsrc", "not a fork");
    EXPECT_FALSE(media.Child("clip.omf").ResourceFork());
    EXPECT_EQ(media.Child("clip.omf").ResourceForkLength(), 0u);
}

TEST_F(FolderItemTest, SidecarThatIsALinkIsNotFollowed) {
    const std::string path = mediaPath + "/clip";
    fixtures::WriteFileBytes(path, "data");
    fixtures::WriteSidecar(temp.Path("outside"), "ATmf", "AvMC");
    std::filesystem::create_symlink(temp.Path("._outside"), mediaPath + "/._clip");
    EXPECT_EQ(media.Child("clip").MacType(), "");
}

TEST_F(FolderItemTest, SampleSidecarBesideItsFile) {
    MT_REQUIRE_REALDATA();
    const std::string folder = fixtures::RealDataPath("appledouble/ciderpress2");
    FolderItem docs = FolderItem::Volume(folder, RealFileSystem()).Child("gshk.docs");
    ASSERT_TRUE(docs.Exists());
    EXPECT_EQ(docs.MacType(), "TEXT");
    EXPECT_EQ(docs.ResourceForkLength(), 575u);
    EXPECT_EQ(docs.Length(), 28920u);
    auto fork = docs.ResourceFork();
    ASSERT_TRUE(fork);
    EXPECT_EQ(ResourceFork(*fork).Resource("ckid", 128)->size(), 113u);
}

TEST_F(FolderItemTest, SampleSidecarWithEmptyTypeCode) {
    MT_REQUIRE_REALDATA();
    // The sample is a "._" file renamed; it needs its "._" name beside a file to be found.
    auto sidecar =
        fixtures::ReadFileBytes(fixtures::RealDataPath("appledouble/exiftool/MacOS.macos"));
    ASSERT_TRUE(sidecar);
    fixtures::WriteFileBytes(mediaPath + "/._clip", *sidecar);
    fixtures::WriteFileBytes(mediaPath + "/clip", "data");
    FolderItem clip = media.Child("clip");
    EXPECT_EQ(clip.MacType(), "");
    EXPECT_EQ(clip.ResourceForkLength(), 286u);
    ResourceFork fork(*clip.ResourceFork());
    EXPECT_TRUE(fork.valid());
    EXPECT_TRUE(fork.resources().empty());
}

TEST_F(FolderItemTest, MoveTakesTheSidecarAndNeverReplaces) {
    fixtures::WriteFileBytes(mediaPath + "/a.omf", "new");
    fixtures::WriteSidecar(mediaPath + "/a.omf", "ATmf", "AvMC");
    fixtures::MakeFolder(mediaPath + "/P_sifted");
    FolderItem a = media.Child("a.omf");
    ASSERT_TRUE(a.MoveFileTo(media.Child("P_sifted")));
    EXPECT_EQ(a.LastErrorCode(), 0);
    EXPECT_THAT(ListFolder(mediaPath + "/P_sifted"), ElementsAre("._a.omf", "a.omf"));
    EXPECT_THAT(ListFolder(mediaPath), ElementsAre("P_sifted"));
    EXPECT_FALSE(a.Exists()) << "the reference keeps naming the old place";

    fixtures::WriteFileBytes(mediaPath + "/a.omf", "other");
    FolderItem again = media.Child("a.omf");
    EXPECT_FALSE(again.MoveFileTo(media.Child("P_sifted")));
    EXPECT_EQ(again.LastErrorCode(), kFileExistsCode);
    EXPECT_EQ(fixtures::ReadFileBytes(mediaPath + "/a.omf"), "other");
    EXPECT_EQ(fixtures::ReadFileBytes(mediaPath + "/P_sifted/a.omf"), "new");
}

TEST_F(FolderItemTest, MoveGoesBackWhenTheSidecarCannotFollow) {
    fixtures::FaultInjectingFileSystem fs(RealFileSystem());
    fixtures::WriteFileBytes(mediaPath + "/a.omf", "data");
    fixtures::WriteSidecar(mediaPath + "/a.omf", "ATmf", "AvMC");
    fixtures::MakeFolder(mediaPath + "/P_sifted");
    fs.FailNthRename(2, EACCES);  // the sidecar's
    FolderItem a = fixtures::ItemOnVolume(volumePath, "OMFI MediaFiles/a.omf", fs);
    EXPECT_FALSE(a.MoveFileTo(fixtures::ItemOnVolume(volumePath, "OMFI MediaFiles/P_sifted", fs)));
    EXPECT_EQ(a.LastErrorCode(), kAccessDeniedCode);
    EXPECT_THAT(ListFolder(mediaPath), ElementsAre("._a.omf", "P_sifted", "a.omf"));
    EXPECT_THAT(ListFolder(mediaPath + "/P_sifted"), ElementsAre());
}

TEST_F(FolderItemTest, CopyTakesDataAttributesAndSidecarAndNeverReplaces) {
    const Bytes data = fixtures::Payload(3 * 1024 * 1024 + 17);
    fixtures::WriteFileBytes(mediaPath + "/a.omf", data);
    fixtures::WriteSidecar(mediaPath + "/a.omf", "ATmf", "AvMC");
    const bool xattrs = fixtures::SupportsUserAttributes(temp.path());
    if (xattrs) fixtures::SetAttribute(mediaPath + "/a.omf", "user.mactarnwick.note", "kept");
    const std::string target = fixtures::MakeFolder(temp.Path("Backup"));
    FolderItem a = media.Child("a.omf");
    ASSERT_TRUE(a.CopyFileTo(FolderItem::Volume(target, RealFileSystem())));
    EXPECT_THAT(ListFolder(target), ElementsAre("._a.omf", "a.omf"));
    EXPECT_EQ(fixtures::ReadFileBytes(target + "/a.omf"), data);
    EXPECT_EQ(fixtures::ReadFileBytes(target + "/._a.omf"),
              fixtures::ReadFileBytes(mediaPath + "/._a.omf"));
    if (xattrs) {
        EXPECT_EQ(fixtures::GetAttribute(target + "/a.omf", "user.mactarnwick.note"), "kept");
    }
    EXPECT_EQ(fixtures::ReadFileBytes(mediaPath + "/a.omf"), data) << "the source stays";

    fixtures::WriteFileBytes(mediaPath + "/b.omf", "b");
    fixtures::WriteFileBytes(target + "/b.omf", "old");
    FolderItem b = media.Child("b.omf");
    EXPECT_FALSE(b.CopyFileTo(FolderItem::Volume(target, RealFileSystem())));
    EXPECT_EQ(b.LastErrorCode(), kFileExistsCode);
    EXPECT_EQ(fixtures::ReadFileBytes(target + "/b.omf"), "old");
}

TEST_F(FolderItemTest, CopyTellsItsProgressAfterEachPiece) {
    const uint64_t size = 3 * 1024 * 1024 + 512 * 1024;
    fixtures::WriteFileBytes(mediaPath + "/long.omf", fixtures::Payload(size));
    fixtures::WriteFileBytes(mediaPath + "/empty.omf", "");
    const std::string target = fixtures::MakeFolder(temp.Path("Backup"));
    std::vector<std::pair<uint64_t, uint64_t>> told;
    const CopyProgress progress = [&](uint64_t done, uint64_t total) {
        // Told between pieces: the copy has no name yet.
        EXPECT_FALSE(PathExists(target + "/long.omf"));
        told.emplace_back(done, total);
    };

    FolderItem item = media.Child("long.omf");
    ASSERT_TRUE(item.CopyFileTo(FolderItem::Volume(target, RealFileSystem()), progress));

    EXPECT_THAT(told,
                ElementsAre(std::pair{uint64_t(1) << 20, size}, std::pair{uint64_t(2) << 20, size},
                            std::pair{uint64_t(3) << 20, size}, std::pair{size, size}));
    told.clear();
    FolderItem empty = media.Child("empty.omf");
    ASSERT_TRUE(empty.CopyFileTo(FolderItem::Volume(target, RealFileSystem()), progress));
    EXPECT_THAT(told, ElementsAre());
}

TEST_F(FolderItemTest, CopyOfTheLongestNameSucceeds) {
    // The copy's hidden temporary must fit the name limit of the file system too.
    for (const Bytes& name :
         {Bytes(255, 'n'), Bytes(250, 'n') + ".omf",
          Bytes(225, 'n') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3"
                            "\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9.o"}) {
        ASSERT_LE(name.size(), 255u);
        fixtures::TempFolder folder;
        fixtures::WriteFileBytes(folder.Path(name), "data");
        const std::string target = fixtures::MakeFolder(folder.Path("Backup"));
        FolderItem file = FolderItem::Volume(folder.path(), RealFileSystem()).Child(name);
        EXPECT_TRUE(file.CopyFileTo(FolderItem::Volume(target, RealFileSystem())))
            << file.LastErrorMessage();
        EXPECT_EQ(ListFolder(target), std::vector<std::string>{name});
    }
}

// The codes a real folder gives without any injected failure.
TEST_F(FolderItemTest, ErrorCodesOfMissingSourceOrTarget) {
    fixtures::WriteFileBytes(mediaPath + "/a.omf", "data");
    FolderItem a = media.Child("a.omf");
    FolderItem gone = media.Child("gone.omf");
    FolderItem nowhere = volume.Child("no such folder");
    struct Row {
        const char* what;
        FolderItem source;
        bool copy;
        FolderItem target;
        int code;
    };
    for (Row row : {Row{"move into missing folder", a, false, nowhere, kDestinationMissingCode},
                    Row{"copy into missing folder", a, true, nowhere, kDestinationMissingCode},
                    Row{"move of missing file", gone, false, volume, kFileNotFoundCode},
                    Row{"copy of missing file", gone, true, volume, kFileNotFoundCode}}) {
        bool done =
            row.copy ? row.source.CopyFileTo(row.target) : row.source.MoveFileTo(row.target);
        EXPECT_FALSE(done) << row.what;
        EXPECT_EQ(row.source.LastErrorCode(), row.code) << row.what;
    }
    EXPECT_THAT(ListFolder(mediaPath), ElementsAre("a.omf"));
    EXPECT_THAT(ListFolder(volumePath), ElementsAre("OMFI MediaFiles"));
}

TEST_F(FolderItemTest, ItsVolumeHoldsIt) {
    FolderItem item = FolderItem::OnItsVolume(mediaPath, RealFileSystem());
    EXPECT_EQ(item.ShellPath(), mediaPath);
    EXPECT_EQ(mediaPath.rfind(item.VolumeRoot(), 0), 0u) << item.VolumeRoot();
    EXPECT_EQ(RealFileSystem().Stat(item.VolumeRoot()).device,
              RealFileSystem().Stat(mediaPath).device);
}

// Devices as a file system reports them: "/Volumes/Media" and below on device 7, the rest
// on device 1; and, when asked, no devices at all.
class DeviceMap : public FileSystemWrapper {
public:
    DeviceMap() : FileSystemWrapper(RealFileSystem()) {}
    FileInfo Stat(const std::string& p) override {
        if (p.rfind("/nowhere", 0) == 0) return {};
        FileInfo info;
        info.exists = info.isFolder = true;
        if (tellsDevices) info.device = p.rfind("/Volumes/Media", 0) == 0 ? 7 : 1;
        return info;
    }
    bool tellsDevices = true;
};

TEST(FolderItemVolumeTest, OnItsVolumeClimbsWhileTheDeviceStaysTheSame) {
    DeviceMap fs;
    struct Row {
        const char* path;
        const char* root;
    };
    for (const Row& row : {Row{"/Volumes/Media/OMFI MediaFiles/Spot30_sifted", "/Volumes/Media"},
                           Row{"/Volumes/Media", "/Volumes/Media"}, Row{"/Users/editor/Cuts", "/"},
                           Row{"/nowhere/Cuts", "/nowhere/Cuts"}}) {
        FolderItem item = FolderItem::OnItsVolume(row.path, fs);
        EXPECT_EQ(item.VolumeRoot(), row.root) << row.path;
        EXPECT_EQ(item.ShellPath(), row.path);
        EXPECT_EQ(&item.fileSystem(), &fs);
    }
    // Where devices are unknown, the volume is the path's root.
    fs.tellsDevices = false;
    EXPECT_EQ(FolderItem::OnItsVolume("/Volumes/Media/Cuts", fs).VolumeRoot(), "/");
}

TEST(FolderItemVolumeTest, ResolveFollowsEveryLinkToTheRealPlace) {
    fixtures::TempFolder temp;
    FileSystem& fs = RealFileSystem();
    const std::string folder = fixtures::MakeFolder(temp.Path("Real/Cuts"));
    fixtures::WriteFileBytes(folder + "/Scene 12.avb", "bin");
    std::filesystem::create_directory_symlink(folder, temp.Path("Cuts link"));
    std::filesystem::create_symlink(temp.Path("Cuts link/Scene 12.avb"), temp.Path("Bin link"));
    std::filesystem::create_symlink(temp.Path("gone"), temp.Path("Dangling"));
    const auto real = fs.Resolve(folder);
    ASSERT_TRUE(real);
    EXPECT_EQ(*real, std::filesystem::canonical(folder).string());

    EXPECT_EQ(fs.Resolve(temp.Path("Cuts link")), *real);
    EXPECT_EQ(fs.Resolve(temp.Path("Bin link")), *real + "/Scene 12.avb");
    EXPECT_EQ(fs.Resolve(temp.Path("Real/../Cuts link/Scene 12.avb")), *real + "/Scene 12.avb");
    EXPECT_EQ(fs.Resolve(temp.Path("missing")), std::nullopt);
    EXPECT_EQ(fs.Resolve(temp.Path("Dangling")), std::nullopt);
}

}  // namespace
}  // namespace mt
