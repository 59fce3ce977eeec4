#include "projects/volume_scan.h"

namespace mt {

CaseInsensitiveDictionary ReadVolumeCatalogues(const std::vector<TarnwickerPtr>& folders,
                                               bool force,
                                               const std::function<void(size_t)>& afterFolder) {
    CaseInsensitiveDictionary names;
    for (size_t i = 0; i < folders.size(); ++i) {
        const TarnwickerPtr& folder = folders[i];
        if (folder) {
            if (force || !folder->Scanned()) folder->ReadDatabase();
            for (const Bytes& name : folder->GetProjectList()) {
                names.Set(name, name);
                YieldToEventLoop();
            }
        }
        if (afterFolder) afterFolder(i);
        YieldToEventLoop();
    }
    return names;
}

ProjectLists BuildProjects(
    const CaseInsensitiveDictionary& names, const std::vector<TarnwickerPtr>& folders,
    const std::function<void(size_t, const ProjectPtr&, bool)>& afterProject) {
    ProjectLists lists;
    std::vector<Bytes> sorted = DictExtension::List(names);
    // perFolder[f][k]: the members of folder f that belong to the project sorted[k].
    std::vector<std::vector<MediaFileList>> perFolder(folders.size());
    for (size_t f = 0; f < folders.size(); ++f) {
        if (folders[f]) perFolder[f] = folders[f]->GetFilesForProjects(sorted);
        YieldToEventLoop();
    }
    for (size_t k = 0; k < sorted.size(); ++k) {
        auto project = std::make_shared<Project>(sorted[k]);
        for (size_t f = 0; f < folders.size(); ++f) {
            if (folders[f]) project->AddMediaFiles(perFolder[f][k]);
            YieldToEventLoop();
        }
        bool sifted = ContainsIgnoringCase(project->projectname, kSiftedSuffix);
        (sifted ? lists.siftedProjects : lists.projects).push_back(project);
        if (afterProject) afterProject(k, project, sifted);
        YieldToEventLoop();
    }
    return lists;
}

int ProgressAfterFolder(size_t i, size_t n) { return n == 0 ? 0 : static_cast<int>(i * 50 / n); }

int ProgressAfterProject(size_t k, size_t m) {
    return m == 0 ? 50 : static_cast<int>(50 + k * 50 / m);
}

}  // namespace mt
