#include "projects/project.h"

namespace mt {

void Project::AddMediaFiles(const MediaFileList& files) {
    for (const MediaFilePtr& media : files) {
        MediaFiles.push_back(media);
        YieldToEventLoop();
    }
}

int Project::GetCount() { return CountMembersOnDisk(); }

std::string Project::DumpStatus() {
    return projectname + " - " + std::to_string(GetCount()) + " Files " + MegaString(GetSize());
}

}  // namespace mt
