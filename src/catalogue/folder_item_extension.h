#pragma once
// Operations on file references that the catalogue adds.

#include <string>

#include "platform/folder_item.h"

namespace mt::FolderItemExtension {

// The text of the reference's last error code: "Error 100: ..." to "Error 105: ...",
// and the empty text for 0 and every other code.
std::string LastErrorString(const FolderItem& item);

}  // namespace mt::FolderItemExtension
