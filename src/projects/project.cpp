#include "projects/project.h"

namespace mt {

void Project::AddMediaFiles(const MediaFileList& files) {
    for (const MediaFilePtr& media : files) {
        MediaFiles.push_back(media);
        YieldToEventLoop();
    }
}

int Project::GetCount() {
    int count = 0;
    for (size_t i = 0; i < MediaFiles.size(); ++i) {
        MediaFilePtr media = MediaFiles[i];
        if (media && media->file && media->file->Exists()) ++count;
        YieldToEventLoop();
    }
    return count;
}

std::string Project::DumpStatus() {
    return projectname + " - " + std::to_string(GetCount()) + " Files " + MegaString(GetSize());
}

}  // namespace mt
