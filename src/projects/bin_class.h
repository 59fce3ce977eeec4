#pragma once
// A bin file of the editing system, and the media files it uses: those whose mob id occurs
// anywhere in the bin's bytes. The bin is not parsed, and never held in memory whole: it is
// searched piece by piece, so a file of any size chosen as a bin is harmless.

#include <optional>
#include <vector>

#include "catalogue/media_file.h"

namespace mt {

class BinClass : public Worker {
public:
    // Whether the bin's bytes hold media's premob, read from the bin file now. A media file
    // without a premob is used by no bin; a missing or unreadable bin uses none.
    bool Used(const MediaFile& media);
    // Appends each given file that the bin uses, in order. Reads the bin once per call,
    // piece by piece, for all of the files together; yields between the pieces and after
    // each file.
    void AddMediaFiles(const MediaFileList& files);
    // Copies every member into folder; logstring gets the log block, and one message box
    // reports failed files. Between the pieces of a long file it yields to the event loop
    // and advances the bar within the file.
    void CopyBin(const FolderItem& folder);
    // The bin file's name; empty without a file.
    Bytes Name() const;
    int GetCount();
    // "<bin name> - <count> Files <size>".
    std::string DumpStatus();

    bool moved = false;
    std::optional<FolderItem> file;

private:
    // For each id, whether the bin holds it; all false when the bin cannot be read.
    std::vector<bool> Search(const std::vector<Bytes>& ids);
};

using BinClassPtr = std::shared_ptr<BinClass>;

}  // namespace mt
