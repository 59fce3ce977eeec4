// Sift, unsift and copy of all media files of one project.

#include <functional>

#include "projects/project.h"

namespace mt {

namespace {

struct Operation {
    std::string title;
    std::string statusPrefix;
    // Acts on one file; a copy tells its progress within the file through the second
    // argument.
    std::function<void(MediaFile&, const CopyProgress&)> apply;
    // Sift and unsift refuse a project that was moved before; copy does not.
    bool guarded;
    std::string refusalBox;
    std::string refusalLine;
};

void Run(Project& project, const Operation& op) {
    std::vector<std::string> lines{Worker::DateStamp() + op.title};
    bool errors = false;
    if (op.guarded && project.moved) {
        ShowMessageBox(op.refusalBox);
        lines.push_back(op.refusalLine);
    } else {
        project.SetProgress(0);
        const size_t count = project.MediaFiles.size();
        size_t done = 0;
        const CopyProgress within = project.ProgressWithinFile(done, count);
        for (size_t i = 0; i < count && i < project.MediaFiles.size(); ++i) {
            MediaFilePtr media = project.MediaFiles[i];
            if (!op.statusPrefix.empty()) project.SetLabel(op.statusPrefix + media->filename);
            op.apply(*media, within);
            if (!media->error.empty()) {
                lines.push_back(media->error);
                errors = true;
            }
            ++done;
            project.SetProgress(static_cast<double>(done) / static_cast<double>(count));
            YieldToEventLoop();
        }
        project.SetProgress(-1);
    }
    lines.push_back(Worker::DateStamp() + " end ");
    lines.push_back("");
    project.SetLog(std::move(lines));
    if (op.guarded) project.moved = true;
    if (errors) ShowMessageBox("There were some errors. See the log tab.");
}

}  // namespace

void Project::SiftProject() {
    // One look at each media folder finds the project's sifted folder in any letter case.
    SiftedFolderFinder folders;
    Run(*this, {" Sift Project " + projectname, "Sift ",
                [&folders](MediaFile& m, const CopyProgress&) { m.SiftFile(folders); }, true,
                "Project has already been sifted", "Error: Project has already been sifted"});
}

void Project::UnsiftProject() {
    Run(*this, {" Unsift Project " + projectname, "Unsift ",
                [](MediaFile& m, const CopyProgress&) { m.UnsiftFile(); }, true,
                "Project has allready been unsifted", "Error: Project has already been unsifted"});
}

void Project::CopyProject(const FolderItem& folder) {
    Run(*this, {" Copy Project " + projectname + " to " + folder.ShellPath(), "Copy ",
                [&folder](MediaFile& m, const CopyProgress& within) { m.CopyFile(folder, within); },
                false, "", ""});
}

}  // namespace mt
