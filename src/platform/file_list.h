#pragma once
// A listing of one folder by index: Directory, Visible, Name and Item of each entry.
// The entries are read once, in a fixed order. A hidden entry is one whose name starts with
// "."; a symbolic link counts as hidden too, since MacTarnwick never follows one.

#include <vector>

#include "platform/folder_item.h"

namespace mt {

class FileList {
public:
    explicit FileList(const FolderItem& folder);

    int Count() const { return static_cast<int>(entries_.size()); }
    bool Directory(int index) const { return entries_[index].isFolder; }
    bool Visible(int index) const;
    const Bytes& Name(int index) const { return entries_[index].name; }
    FolderItem Item(int index) const { return folder_.Child(entries_[index].name); }

private:
    FolderItem folder_;
    std::vector<DirEntry> entries_;
};

}  // namespace mt
