// Sifting every project of a media folder into a folder of its own.

#include "mediafolder/tarnwicker.h"

namespace mt {

void Tarnwicker::Sift() {
    if (!Scanned()) ReadDatabase();
    std::vector<std::string> lines;
    if (myvolume) {
        lines.push_back(DateStamp() + " Sift Volume " + myvolume->Name());
    } else {
        lines.push_back(DateStamp() + " Sift Folder " +
                        (mediafolder ? mediafolder->ShellPath() : std::string()));
    }
    SetProgress(0);
    const double total = static_cast<double>(MediaFiles.size());
    double done = 0;
    bool errors = false;
    const std::vector<Bytes> projects = GetProjectList();
    const std::vector<MediaFileList> members = GetFilesForProjects(projects);
    SiftedFolderFinder folders;
    for (size_t k = 0; k < projects.size(); ++k) {
        const Bytes& project = projects[k];
        if (ContainsIgnoringCase(project, kSiftedSuffix)) {
            YieldToEventLoop();
            continue;
        }
        if (!mediafolder) break;
        // The folder the project's files go to: named after the project as the database or
        // the files name it (a project found by the folder scan carries the folder's name
        // in brackets), whatever its letter case on disk.
        const Bytes folderName = members[k].empty() ? project + Bytes(kSiftedSuffix)
                                                    : members[k].front()->SiftedFolderName();
        FolderItem folder = folders.Find(*mediafolder, folderName);
        FileInfo info = folder.Info();
        if (info.exists && !info.isFolder) {
            ShowMessageBox("There is already a file with the project name");
            lines.push_back("Error: There is already a file with the project name");
            break;
        }
        if (!info.exists) folder.CreateAsFolder();
        if (!folder.IsFolder()) {
            ShowMessageBox("Could not create the folder");
            lines.push_back("Could not create the folder");
            break;
        }
        for (const MediaFilePtr& media : members[k]) {
            SetLabel("Sift " + media->filename);
            media->SiftFile(folders);
            if (!media->error.empty()) {
                lines.push_back(media->error);
                errors = true;
            }
            done += 1;
            SetProgress(done / total);
            YieldToEventLoop();
        }
        YieldToEventLoop();
    }
    SetProgress(-1);
    lines.push_back(DateStamp() + " end ");
    if (errors) ShowMessageBox("There were some errors. See the log tab.");
    lines.push_back("");
    SetLog(std::move(lines));
}

}  // namespace mt
