#pragma once
// The mounted volumes that may hold media: the real file systems of the machine's mount
// table (disks, HFS+ and APFS, FAT, exFAT, NTFS, optical discs, network shares), each once.

#include <string_view>
#include <vector>

#include "platform/folder_item.h"

namespace mt {

// Each mounted file system of fs's mount table whose type can hold media, as a volume of fs,
// in the table's order. Pseudo file systems (proc, sysfs, tmpfs, cgroup, overlay, squashfs,
// ...) are left out; a device mounted more than once (bind mounts) is listed once, at its
// shortest mount point (the first of equally short ones).
std::vector<FolderItem> MountedVolumes(FileSystem& fs);

// Whether a mount table's file-system type is one that can hold media, ignoring letter case.
bool IsMediaFileSystemType(std::string_view type);

}  // namespace mt
