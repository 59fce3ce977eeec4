#pragma once
// One media file on disk: its name, its project, its mob identifier when it comes from the
// media database, and the result of its last move or copy.

#include <optional>
#include <string>

#include "catalogue/sifted_folder_finder.h"
#include "catalogue/worker.h"
#include "platform/folder_item.h"

namespace mt {

class MediaFile : public Worker {
public:
    // Data fork plus resource fork in bytes; 0 when there is no file. Read at every call.
    double GetSize() override;
    std::string GetSizeString() { return MegaString(GetSize()); }
    Bytes GetName() const;
    std::optional<TimePoint> GetDate() const;
    std::string GetDateString() const;
    // The volume's name for a file in or below a folder "OMFI MediaFiles", else the colon
    // path of the folder that holds the file.
    std::string GetVolume() const;
    const std::string& GetInformationSource() const { return informationsource; }

    // The project name stored in the file itself, or the empty text. Reads only the trailer
    // (or, for Sound Designer II files, one resource); never writes.
    Bytes GetProjectFromFile() const;

    // The name of the folder its sift goes to: the project as the database or the file
    // itself names it, then "_sifted".
    Bytes SiftedFolderName() const;

    // Moves a file lying directly in a media folder into its project's "_sifted" folder, or
    // into the folder there whose name differs from that only in letter case.
    void SiftFile();
    // The same, finding the folder through folders (a batch lists each media folder once).
    void SiftFile(SiftedFolderFinder& folders);
    // Moves a file from a folder inside a media folder back into the media folder.
    void UnsiftFile();
    // Copies the file into target, creating target when it does not exist; progress, when
    // given, is told after each piece of the data.
    void CopyFile(const FolderItem& target, const CopyProgress& progress = {});
    // Each of the four sets error: empty when done or when there was nothing to do, else a
    // message ending in " " and the source's path. Nothing is ever overwritten.

    Bytes filename;
    // The project as the lists show it; for a file found by the folder scan, the project
    // read from the file followed by the scanned folder's name in brackets.
    Bytes project;
    // For a file found by the folder scan, the project read from the file itself (which
    // names its sifted folder); nullopt where project is that already (database records).
    std::optional<Bytes> fileproject;
    Bytes premob;
    Bytes postmob;
    std::optional<FolderItem> file;
    std::string error;
    std::string informationsource;
    bool online = false;
};

}  // namespace mt
