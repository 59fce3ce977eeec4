#pragma once
// Readers of the mount tables Linux keeps in /proc, for the real file system's MountTable.

#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace mt {

// The lines of /proc/self/mountinfo ("id parent major:minor root mountpoint options [tags] -
// type source superoptions"): the device is major:minor, which bind mounts of one file
// system share. Lines that do not have that shape are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The lines of /proc/self/mounts ("source mountpoint type options 0 0"): the device is the
// source. Lines with fewer than three fields are left out.
std::vector<MountEntry> ParseMounts(std::string_view text);

// A field of either table: a backslash and three octal digits stand for one byte (the kernel
// writes blanks, tabs, line ends and backslashes so).
std::string UnescapeMountField(std::string_view field);

}  // namespace mt
