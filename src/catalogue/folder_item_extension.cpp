#include "catalogue/folder_item_extension.h"

namespace mt::FolderItemExtension {

std::string LastErrorString(const FolderItem& item) {
    switch (item.LastErrorCode()) {
        case kDestinationMissingCode: return "Error 100: Destination does not exist.";
        case kFileNotFoundCode: return "Error 101: File not found.";
        case kAccessDeniedCode: return "Error 102: Access denied.";
        case kOutOfMemoryCode: return "Error 103: Out of memory.";
        case kFileInUseCode: return "Error 104: File in use.";
        case kInvalidNameCode: return "Error 105: Invalid name.";
        default: return {};
    }
}

}  // namespace mt::FolderItemExtension
