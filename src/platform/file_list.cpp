#include "platform/file_list.h"

namespace mt {

FileList::FileList(const FolderItem& folder)
    : folder_(folder), entries_(folder.fileSystem().List(folder.ShellPath())) {}

bool FileList::Visible(int index) const {
    const DirEntry& e = entries_[index];
    return !e.isSymlink && !e.name.empty() && e.name[0] != '.';
}

}  // namespace mt
