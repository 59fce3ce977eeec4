// The mounted volumes: the mount tables as Linux writes them, and which file systems of a
// table are listed as volumes.

#include "platform/mounted_volumes.h"

#include <gtest/gtest.h>

#include "platform/mount_table.h"

namespace mt {
namespace {

TEST(MountTableTest, MountInfoLinesGiveDevicePointAndType) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "35 22 0:5 / /proc rw,nosuid - proc proc rw\n"
        "40 22 8:17 / /media/editor/Media\\040Drive rw,nosuid shared:7 master:2 - exfat "
        "/dev/sdb1 rw\n"
        "41 22 8:17 /Projects /home/editor/Tab\\011Cuts rw - exfat /dev/sdb1 rw\n"
        "bad line without a separator\n"
        "42 22 0:50 / /mnt/short - cifs\n"
        "43 22 0:51 / /mnt/share rw - cifs //server/media rw";

    const std::vector<MountEntry> entries = ParseMountInfo(text);

    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].device, "8:1");
    EXPECT_EQ(entries[0].mountPoint, "/");
    EXPECT_EQ(entries[0].type, "ext4");
    EXPECT_EQ(entries[1].type, "proc");
    EXPECT_EQ(entries[2].device, "8:17");
    EXPECT_EQ(entries[2].mountPoint, "/media/editor/Media Drive");
    EXPECT_EQ(entries[2].type, "exfat");
    EXPECT_EQ(entries[3].mountPoint, "/home/editor/Tab\tCuts");
    EXPECT_EQ(entries[4].mountPoint, "/mnt/share");
    EXPECT_EQ(entries[4].type, "cifs");
}

TEST(MountTableTest, MountsLinesGiveSourcePointAndType) {
    const std::vector<MountEntry> entries = ParseMounts(
        "/dev/sdb1 /media/editor/Media\\040Drive exfat rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "short\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].device, "/dev/sdb1");
    EXPECT_EQ(entries[0].mountPoint, "/media/editor/Media Drive");
    EXPECT_EQ(entries[1].type, "proc");
}

TEST(MountTableTest, EscapesAreThreeOctalDigits) {
    struct Row {
        const char* field;
        const char* text;
    };
    for (const Row& row : {Row{"a\\040b", "a b"}, Row{"a\\134b", "a\\b"}, Row{"a\\012", "a\n"},
                           Row{"\\040", " "}, Row{"a\\04", "a\\04"}, Row{"a\\09b", "a\\09b"},
                           Row{"a\\", "a\\"}, Row{"plain", "plain"}}) {
        EXPECT_EQ(UnescapeMountField(row.field), row.text) << row.field;
    }
}

#if defined(__linux__)
TEST(MountTableTest, ThisMachineHasOne) {
    const std::vector<MountEntry> entries = RealFileSystem().MountTable();
    ASSERT_FALSE(entries.empty());
    for (const auto& entry : entries) {
        EXPECT_EQ(entry.mountPoint.rfind('/', 0), 0u) << entry.mountPoint;
        EXPECT_FALSE(entry.type.empty()) << entry.mountPoint;
    }
}
#endif

// A file system whose mount table is the test's.
class ScriptedMounts : public FileSystemWrapper {
public:
    explicit ScriptedMounts(std::vector<MountEntry> table)
        : FileSystemWrapper(RealFileSystem()), table_(std::move(table)) {}
    std::vector<MountEntry> MountTable() override { return table_; }

private:
    std::vector<MountEntry> table_;
};

TEST(MountedVolumesTest, RealFileSystemsEachOnce) {
    ScriptedMounts fs({
        {"8:1", "/", "ext4"},
        {"0:22", "/proc", "proc"},
        {"0:21", "/sys", "sysfs"},
        {"0:5", "/dev", "devtmpfs"},
        {"0:23", "/dev/pts", "devpts"},
        {"0:25", "/run", "tmpfs"},
        {"0:26", "/sys/fs/cgroup", "cgroup2"},
        {"0:27", "/sys/fs/cgroup/cpu", "cgroup"},
        {"0:40", "/var/lib/docker/overlay2/x/merged", "overlay"},
        {"7:3", "/snap/core/16202", "squashfs"},
        {"8:1", "/etc/hosts", "ext4"},  // a bind mount of the root's disk
        {"8:17", "/media/editor/Media Drive", "exfat"},
        {"8:33", "/media/editor/CARD", "vfat"},
        {"8:49", "/media/editor/Windows", "ntfs3"},
        {"8:50", "/media/editor/Old Windows", "fuseblk"},
        {"8:65", "/media/editor/Mac HD", "hfsplus"},
        {"0:50", "/mnt/share", "cifs"},
        {"0:51", "/mnt/nas", "nfs4"},
        {"0:52", "/home/editor/remote", "fuse.sshfs"},
        {"11:0", "/media/editor/DVD", "iso9660"},
        {"8:17", "/srv/Media", "exfat"},  // the same drive again, at a shorter point
        {"0:60", "", "ext4"},
    });

    const std::vector<FolderItem> volumes = MountedVolumes(fs);

    std::vector<std::string> roots;
    for (const auto& volume : volumes) {
        roots.push_back(volume.VolumeRoot());
        EXPECT_EQ(volume.ShellPath(), volume.VolumeRoot());
        EXPECT_EQ(&volume.fileSystem(), &fs);
    }
    EXPECT_EQ(roots, (std::vector<std::string>{"/", "/srv/Media", "/media/editor/CARD",
                                               "/media/editor/Windows", "/media/editor/Old Windows",
                                               "/media/editor/Mac HD", "/mnt/share", "/mnt/nas",
                                               "/home/editor/remote", "/media/editor/DVD"}));
}

TEST(MountedVolumesTest, TypesThatHoldMedia) {
    for (const char* type :
         {"ext4",  "xfs",  "btrfs", "hfs",     "hfsplus",    "apfs",    "vfat",  "msdos",
          "exfat", "ntfs", "ntfs3", "fuseblk", "udf",        "iso9660", "cifs",  "smb3",
          "smbfs", "nfs",  "nfs4",  "afpfs",   "fuse.sshfs", "NTFS",    "exFAT", "FAT32"}) {
        EXPECT_TRUE(IsMediaFileSystemType(type)) << type;
    }
    for (const char* type :
         {"proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "overlay",
          "squashfs", "autofs", "mqueue", "fuse", "fusectl", "debugfs", "securityfs", "bpf", ""}) {
        EXPECT_FALSE(IsMediaFileSystemType(type)) << type;
    }
}

}  // namespace
}  // namespace mt
