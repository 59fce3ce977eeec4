#pragma once
// The Mac metadata of a file, from wherever the file carries it, in this order: natively on
// macOS, in extended attributes (also with the "user." and "osx." prefixes Linux uses), in
// an AppleDouble sidecar "._name" beside the file, and last, for the resource fork, in the
// "name/rsrc" entry through which Linux's HFS+ driver shows it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/apple_double.h"
#include "platform/file_system.h"

namespace mt {

// The 32 bytes of Finder info, or nullopt.
std::optional<Bytes> ReadFinderInfo(FileSystem& fs, const std::string& path);
// The four-character type code; empty when the file has none (or it is all zero bytes).
Bytes ReadMacType(FileSystem& fs, const std::string& path);
// The resource fork's bytes, or nullopt when the file has none (an empty fork is none).
std::optional<Bytes> ReadResourceFork(FileSystem& fs, const std::string& path);
// The resource fork's length; 0 when there is none. Reads no more than ReadResourceFork.
uint64_t ResourceForkLength(FileSystem& fs, const std::string& path);

// The parsed sidecar beside the file; nullopt when there is none (or it is a link or no
// AppleDouble).
std::optional<AppleDouble> ReadSidecar(FileSystem& fs, const std::string& path);

// The names under which an extended attribute of Mac metadata may be stored.
std::vector<std::string> AttributeNameVariants(const std::string& macName);
// Whether an extended attribute's name is one of those of the Finder info or the fork.
bool IsFinderInfoAttribute(const std::string& name);
bool IsResourceForkAttribute(const std::string& name);

// The path of the AppleDouble sidecar of the file at path.
std::string SidecarPath(const std::string& path);

}  // namespace mt
