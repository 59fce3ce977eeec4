#include "platform/mounted_volumes.h"

#include <unordered_map>

#include "platform/text.h"

namespace mt {

namespace {
// Disks, Mac and Windows file systems, optical discs and network shares, as Linux, macOS
// and Windows name them.
constexpr std::string_view kMediaTypes[] = {
    // Linux disks
    "ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "zfs", "jfs", "reiserfs", "bcachefs", "nilfs2",
    "ufs",
    // Mac
    "hfs", "hfsplus", "apfs",
    // Windows and cameras
    "vfat", "fat", "msdos", "fat32", "exfat", "ntfs", "ntfs3", "fuseblk", "refs",
    // optical discs
    "udf", "iso9660", "cd9660", "cdfs",
    // network shares
    "cifs", "smb3", "smbfs", "nfs", "nfs4", "afpfs", "webdav", "davfs", "fuse.sshfs"};
}  // namespace

bool IsMediaFileSystemType(std::string_view type) {
    for (std::string_view known : kMediaTypes) {
        if (EqualsIgnoringCase(type, known)) return true;
    }
    return false;
}

std::vector<FolderItem> MountedVolumes(FileSystem& fs) {
    std::vector<MountEntry> kept;
    std::unordered_map<std::string, size_t> byDevice;
    for (MountEntry& entry : fs.MountTable()) {
        if (entry.mountPoint.empty() || !IsMediaFileSystemType(entry.type)) continue;
        auto [it, added] = byDevice.try_emplace(entry.device, kept.size());
        if (added) {
            kept.push_back(std::move(entry));
        } else if (entry.mountPoint.size() < kept[it->second].mountPoint.size()) {
            kept[it->second].mountPoint = std::move(entry.mountPoint);
        }
    }
    std::vector<FolderItem> volumes;
    volumes.reserve(kept.size());
    for (const MountEntry& entry : kept)
        volumes.push_back(FolderItem::Volume(entry.mountPoint, fs));
    return volumes;
}

}  // namespace mt
