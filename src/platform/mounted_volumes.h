#pragma once
// The mounted volumes that may hold media: removable and external drives and network shares.

#include <vector>

#include "platform/folder_item.h"

namespace mt {

std::vector<FolderItem> MountedVolumes();

}  // namespace mt
