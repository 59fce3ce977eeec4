#pragma once
// The media files of one project name across every scanned media folder, and the three
// operations on all of them: sift, unsift and copy.

#include <memory>

#include "catalogue/media_file.h"

namespace mt {

class Project : public Worker {
public:
    explicit Project(Bytes name) : projectname(std::move(name)) {}

    // Appends the files in their order; a file given twice is held twice.
    void AddMediaFiles(const MediaFileList& files);
    // The number of members whose file exists now.
    int GetCount();
    // "<name> - <count> Files <size>".
    std::string DumpStatus();

    // Moves each file from the media folder into the project's "_sifted" folder. Refused
    // (message box and log line) when this project was sifted or unsifted before.
    void SiftProject();
    // Moves each file from its folder inside the media folder back into the media folder.
    // Refused like SiftProject.
    void UnsiftProject();
    // Copies each file into folder. Never refused. Between the pieces of a long file it
    // yields to the event loop and advances the bar within the file.
    void CopyProject(const FolderItem& folder);
    // Each leaves its log block in logstring and shows "There were some errors. See the log
    // tab." once at its end when a file failed; the failed files' messages are the log lines.

    Bytes projectname;
    bool moved = false;
};

using ProjectPtr = std::shared_ptr<Project>;

}  // namespace mt
