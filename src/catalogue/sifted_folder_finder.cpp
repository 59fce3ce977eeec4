#include "catalogue/sifted_folder_finder.h"

#include <algorithm>

#include "platform/text.h"

namespace mt {

FolderItem SiftedFolderFinder::Find(const FolderItem& mediaFolder, const Bytes& folderName) {
    auto [listing, added] = listings_.try_emplace(mediaFolder.ShellPath());
    if (added) {
        for (const DirEntry& entry : mediaFolder.fileSystem().List(mediaFolder.ShellPath())) {
            if (entry.isFolder && !entry.isSymlink) {
                listing->second[LowerAscii(entry.name)].push_back(entry.name);
            }
        }
    }
    std::vector<Bytes>& names = listing->second[LowerAscii(folderName)];
    if (names.empty()) names.push_back(folderName);
    const bool exact = std::find(names.begin(), names.end(), folderName) != names.end();
    return mediaFolder.Child(exact ? folderName : names.front());
}

}  // namespace mt
