#pragma once
// The Mac metadata of a file, from wherever the file carries it: natively on macOS, in
// extended attributes (also with the "user." and "osx." prefixes Linux uses), or in an
// AppleDouble sidecar "._name" beside the file.

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace mt {

// The 32 bytes of Finder info, or nullopt.
std::optional<Bytes> ReadFinderInfo(FileSystem& fs, const std::string& path);
// The four-character type code; empty when the file has none (or it is all zero bytes).
Bytes ReadMacType(FileSystem& fs, const std::string& path);
// The resource fork's bytes, or nullopt when the file has none.
std::optional<Bytes> ReadResourceFork(FileSystem& fs, const std::string& path);

// The names under which an extended attribute of Mac metadata may be stored.
std::vector<std::string> AttributeNameVariants(const std::string& macName);

// The path of the AppleDouble sidecar of the file at path.
std::string SidecarPath(const std::string& path);

}  // namespace mt
