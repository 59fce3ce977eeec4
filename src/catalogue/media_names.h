#pragma once
// The fixed names of an Avid media volume: the media folder at the top of the volume, the
// media database inside it, and the ending of a project's sifted folder inside it.

#include <string_view>

namespace mt {

inline constexpr std::string_view kMediaFolderName = "OMFI MediaFiles";
inline constexpr std::string_view kDatabaseName = "msmFMID.pmr";
inline constexpr std::string_view kSiftedSuffix = "_sifted";

}  // namespace mt
