#pragma once
// Finds the folder into which a file of a media folder is sifted: the entry "<project>_sifted"
// of the media folder, or a folder there whose name differs from it only in letter case, so
// that a case-sensitive volume never gets two sifted folders for one project.

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/folder_item.h"

namespace mt {

class SiftedFolderFinder {
public:
    // The folder of that name in mediaFolder: the entry of exactly that name when it is a
    // folder, else the first folder whose name equals it ignoring letter case, else the
    // entry of exactly that name (which need not exist; the caller makes it). A media folder
    // is listed once per finder; a name given out is given out again for the same folder,
    // so one batch never makes two folders that differ only in case. A symbolic link is
    // never taken for a folder.
    FolderItem Find(const FolderItem& mediaFolder, const Bytes& folderName);

private:
    // Per media folder: folded name -> the names on disk (or given out), first found first.
    using Folders = std::unordered_map<Bytes, std::vector<Bytes>>;
    std::unordered_map<std::string, Folders> listings_;
};

}  // namespace mt
