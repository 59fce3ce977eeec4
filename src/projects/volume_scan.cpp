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
    // One pass over each folder's members instead of one pass per project name.
    std::unordered_map<Bytes, std::vector<MediaFileList>> byProject;
    for (const Bytes& name : sorted) byProject[LowerAscii(name)].resize(folders.size());
    // The empty name selects every member of a folder, as GetFilesForProject("") does.
    const auto everyMember = byProject.find(Bytes());
    for (size_t f = 0; f < folders.size(); ++f) {
        if (!folders[f]) continue;
        for (const MediaFilePtr& media : folders[f]->MediaFiles) {
            auto it = byProject.find(LowerAscii(media->project));
            if (it != byProject.end() && it != everyMember) it->second[f].push_back(media);
            if (everyMember != byProject.end()) everyMember->second[f].push_back(media);
        }
        YieldToEventLoop();
    }
    for (size_t k = 0; k < sorted.size(); ++k) {
        auto project = std::make_shared<Project>(sorted[k]);
        auto& perFolder = byProject[LowerAscii(sorted[k])];
        for (size_t f = 0; f < folders.size(); ++f) {
            project->AddMediaFiles(perFolder[f]);
            YieldToEventLoop();
        }
        bool sifted = ContainsIgnoringCase(project->projectname, kSiftedSuffix);
        (sifted ? lists.siftedProjects : lists.projects).push_back(project);
        if (afterProject) afterProject(k, project, sifted);
        YieldToEventLoop();
    }
    return lists;
}

int ProgressAfterFolder(size_t i, size_t n) {
    return n == 0 ? 0 : static_cast<int>(i * 50 / n);
}

int ProgressAfterProject(size_t k, size_t m) {
    return m == 0 ? 50 : static_cast<int>(50 + k * 50 / m);
}

}  // namespace mt
