#pragma once
// What the user picks (a folder to add, a bin, a copy target, a volume named on a command
// line) is resolved once to the real place it names, so that a symbolic link the user chose
// works. Inside media folders links are never followed; this is only for the user's picks.

#include <string>

#include "platform/file_system.h"

namespace mt {

// The absolute path with every link followed when path names something; otherwise path as
// given, made absolute (a copy target that the copy will create does not exist yet).
std::string ResolvePicked(FileSystem& fs, const std::string& path);

}  // namespace mt
