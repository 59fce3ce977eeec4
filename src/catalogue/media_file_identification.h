#pragma once
// Reading a media file's project name from the file itself: from the "_PJ" field of the
// trailer of its data fork, or from the "OMF1" resource of a Sound Designer II file.

#include <optional>

#include "platform/file_system.h"

namespace mt {

// The project name of the trailer; nullopt when the trailer has no "_PJ" marker or any of
// its fields lies outside the file. Reads the last 4 bytes, the tail, and 4 + 32 bytes.
std::optional<Bytes> ReadProjectFromTrailer(ReadableFile& data);

// The project name in bytes 12 to 43 of the "OMF1" 1000 resource of a resource fork;
// nullopt when the fork has no such resource.
std::optional<Bytes> ReadProjectFromOmf1Resource(const Bytes& fork);

// Whether a name makes a file eligible for the trailer ("omf", "aif", "wav" endings).
bool HasTrailerExtension(std::string_view filename);

}  // namespace mt
