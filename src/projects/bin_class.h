#pragma once
// A bin file of the editing system, and the media files it uses: those whose mob id occurs
// anywhere in the bin's bytes. The bin is not parsed.

#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/media_file.h"

namespace mt {

class BinClass : public Worker {
public:
    // Whether the bin's bytes hold media's premob. The bin is read whole at the first call
    // that finds its content empty, and kept. A media file without a premob is used by no bin.
    bool Used(const MediaFile& media);
    // Appends each given file that the bin uses.
    void AddMediaFiles(const MediaFileList& files);
    // Copies every member into folder; logstring gets the log block, and one message box
    // reports failed files.
    void CopyBin(const FolderItem& folder);
    // The bin file's name; empty without a file.
    Bytes Name() const;
    int GetCount();
    // "<bin name> - <count> Files <size>".
    std::string DumpStatus();

    bool moved = false;
    std::optional<FolderItem> file;
    Bytes s;

private:
    bool Contains(const Bytes& id);

    int searches_ = 0;
    // Every 8-byte window of s, sorted: built once a bin is searched often.
    std::vector<uint64_t> windows_;
};

using BinClassPtr = std::shared_ptr<BinClass>;

}  // namespace mt
