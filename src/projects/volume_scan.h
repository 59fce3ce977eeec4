#pragma once
// The volume scan without the window: every media folder reads its catalogue, the project
// names of all folders are merged (ignoring letter case), and one Project per name collects
// that project's media files from every folder, folder after folder.

#include <functional>
#include <vector>

#include "mediafolder/tarnwicker.h"
#include "projects/project.h"

namespace mt {

struct ProjectLists {
    std::vector<ProjectPtr> projects;        // names without "_sifted"
    std::vector<ProjectPtr> siftedProjects;  // names with "_sifted"
};

// Reads each folder that is not yet read from its database, or every folder when forced,
// and merges their project names. afterFolder(index) runs after each folder.
CaseInsensitiveDictionary ReadVolumeCatalogues(const std::vector<TarnwickerPtr>& folders,
                                               bool force,
                                               const std::function<void(size_t)>& afterFolder);

// One Project per merged name, in sorted order, split by the "_sifted" test.
// afterProject(index, project, sifted) runs after each one is built.
ProjectLists BuildProjects(
    const CaseInsensitiveDictionary& names, const std::vector<TarnwickerPtr>& folders,
    const std::function<void(size_t, const ProjectPtr&, bool)>& afterProject);

// The progress bar's value after folder i of n (0 to 50) and after project k of the names
// whose highest index is m (50 to 100).
int ProgressAfterFolder(size_t i, size_t n);
int ProgressAfterProject(size_t k, size_t m);

}  // namespace mt
