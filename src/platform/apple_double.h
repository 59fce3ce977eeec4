#pragma once
// Reader and writer of AppleDouble ("._name") sidecars, which macOS writes beside a file on
// volumes without Mac metadata: the Finder info (type and creator) and the resource fork.

#include <optional>

#include "platform/text.h"

namespace mt {

struct AppleDouble {
    std::optional<Bytes> finderInfo;    // the first 32 bytes of the Finder info entry
    std::optional<Bytes> resourceFork;  // the whole resource fork entry
};

// nullopt when the bytes are not an AppleDouble (or AppleSingle) file. Entries that lie
// partly outside the bytes are left out.
std::optional<AppleDouble> ParseAppleDouble(std::string_view bytes);

// The bytes of a sidecar holding the metadata, laid out as macOS writes one: version 2,
// "Mac OS X" in the filler, a Finder info entry of 32 bytes (zeros when there is none; a
// shorter one is padded, a longer one cut), then the resource fork when there is one.
Bytes EncodeAppleDouble(const AppleDouble& metadata);

// The name of the sidecar that belongs to a file name.
inline Bytes SidecarName(std::string_view name) { return "._" + Bytes(name); }

}  // namespace mt
