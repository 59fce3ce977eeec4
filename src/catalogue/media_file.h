#pragma once
// One media file on disk: its name, its project, its mob identifier when it comes from the
// media database, and the result of its last move or copy.

#include <optional>
#include <string>

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

    // Moves a file lying directly in a media folder into its project's "_sifted" folder.
    void SiftFile();
    // Moves a file from a folder inside a media folder back into the media folder.
    void UnsiftFile();
    // Copies the file into target, creating target when it does not exist.
    void CopyFile(const FolderItem& target);
    // Each of the three sets error: empty when done or when there was nothing to do, else a
    // message ending in " " and the source's path. Nothing is ever overwritten.

    Bytes filename;
    Bytes project;
    Bytes premob;
    Bytes postmob;
    std::optional<FolderItem> file;
    std::string error;
    std::string informationsource;
    bool online = false;
};

}  // namespace mt
