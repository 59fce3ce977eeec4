// Session: the Volumes list, the volume scan that fills the project lists, and the file rows.

#include "projects/volume_scan.h"
#include "session/picked_path.h"
#include "session/session.h"

namespace mt {

namespace {
// What a folder row stands for: the media folder it reads. A volume without one stands for
// its top folder, which no added folder is taken for.
std::string VolumeKey(FileSystem& fs, const FolderItem& volume) {
    const FolderItem media = volume.Child(Bytes(kMediaFolderName));
    if (media.IsFolder()) {
        if (auto resolved = fs.Resolve(media.ShellPath())) return *resolved;
    }
    auto top = fs.Resolve(volume.ShellPath());
    return "top:" + (top ? *top : volume.ShellPath());
}
}  // namespace

Outcome Session::BuildVolumeList() {
    return Guarded([this] {
        SetStatus("Detecting Volumes");
        volumeRows_.clear();
        volumeKeys_.clear();
        Notify([](SessionObserver& o) { o.ListCleared(ListId::Volumes); });
        std::vector<FolderItem> volumes =
            volumeSource_ ? volumeSource_() : std::vector<FolderItem>{};
        for (const FolderItem& volume : volumes) {
            AddVolume(volume);
            YieldToEventLoop();
        }
        SetStatus(kReadyText);
        return Outcome::Done;
    });
}

void Session::AddVolume(const FolderItem& volume) {
    // The volume is read through this session's file system, whoever listed it.
    FolderItem top(volume.ShellPath(), volume.VolumeRoot(), cache_);
    std::string key = VolumeKey(cache_, top);
    for (const auto& listed : volumeKeys_) {
        if (listed == key) return;
    }
    AddVolumeRow(std::make_shared<Tarnwicker>(std::move(top), false), std::move(key));
}

void Session::AddFolderRow(const std::string& path) {
    std::string key = ResolvePicked(fs_, path);
    for (const auto& listed : volumeKeys_) {
        if (listed == key) return;
    }
    AddVolumeRow(std::make_shared<Tarnwicker>(FolderItem::OnItsVolume(key, cache_), true), key);
}

void Session::AddVolumeRow(TarnwickerPtr folder, std::string key) {
    VolumeRow row;
    row.text = DisplayText(folder->DumpStatus());
    row.folder = std::move(folder);
    row.selected = true;
    volumeRows_.push_back(std::move(row));
    volumeKeys_.push_back(std::move(key));
    const size_t index = volumeRows_.size() - 1;
    Notify([index](SessionObserver& o) { o.RowAdded(ListId::Volumes, index); });
}

Outcome Session::FirstScan() {
    return Guarded([this] {
        DoScanVolumes(false);
        Buttons buttons = buttons_;
        buttons.ScanButton = true;
        buttons.TabPanel1 = true;
        SetButtons(buttons);
        return Outcome::Done;
    });
}

Outcome Session::ScanVolumes(bool force) {
    return Guarded([this, force] {
        DoScanVolumes(force);
        return Outcome::Done;
    });
}

Outcome Session::AddFolder(const Chooser& chooseFolder) {
    return GuardedChoice(chooseFolder, "Select Folder with media files",
                         [this](const std::string& folder) {
                             AddFolderRow(folder);
                             DoScanVolumes(false);
                         });
}

Outcome Session::AddFolders(const std::vector<std::string>& paths) {
    return Guarded([this, &paths] {
        for (const std::string& path : paths) AddFolderRow(path);
        DoScanVolumes(false);
        return Outcome::Done;
    });
}

void Session::DoScanVolumes(bool force) {
    // Nothing changes on disk while a scan runs: each fact about a file is asked for once.
    struct Remembering {
        explicit Remembering(ScanCache& cache) : cache(cache) { cache.Begin(); }
        ~Remembering() { cache.End(); }
        ScanCache& cache;
    } remembering(cache_);

    SetStatus("Scanning Volumes");
    ShowProgress(0);

    // Every row takes part, selected or not.
    const size_t rowCount = volumeRows_.size();
    std::vector<TarnwickerPtr> folders;
    std::vector<size_t> rowOf;
    for (size_t i = 0; i < rowCount; ++i) {
        if (!volumeRows_[i].folder) continue;
        folders.push_back(volumeRows_[i].folder);
        rowOf.push_back(i);
    }
    CaseInsensitiveDictionary names = ReadVolumeCatalogues(folders, force, [&](size_t f) {
        const size_t row = rowOf[f];
        volumeRows_[row].text = DisplayText(folders[f]->DumpStatus());
        Notify([row](SessionObserver& o) { o.RowTextChanged(ListId::Volumes, row); });
        ShowProgress(ProgressAfterFolder(row, rowCount));
    });
    if (rowCount == 0) ShowMessageBox("No Volume selected");

    projectRows_.clear();
    Notify([](SessionObserver& o) { o.ListCleared(ListId::Projects); });
    siftedProjectRows_.clear();
    Notify([](SessionObserver& o) { o.ListCleared(ListId::SiftedProjects); });
    const size_t highest = names.Count() == 0 ? 0 : names.Count() - 1;
    BuildProjects(names, folders, [&](size_t k, const ProjectPtr& project, bool sifted) {
        std::vector<ProjectRow>& rows = sifted ? siftedProjectRows_ : projectRows_;
        rows.push_back({project, DisplayText(project->DumpStatus()), false});
        const ListId list = sifted ? ListId::SiftedProjects : ListId::Projects;
        const size_t row = rows.size() - 1;
        Notify([list, row](SessionObserver& o) { o.RowAdded(list, row); });
        ShowProgress(ProgressAfterProject(k, highest));
    });

    Buttons buttons = buttons_;
    buttons.SiftButton = true;
    SetButtons(EnableButtons(buttons, CurrentSelections()));
    Dump(folders);
    SetStatus(kReadyText);
    HideProgress();
}

void Session::Dump(const std::vector<TarnwickerPtr>& folders) {
    fileRows_.clear();
    Notify([](SessionObserver& o) { o.FileRowsCleared(); });
    fileRows_ = FileRowsOf(folders);
    if (lastSort_) SortRows(fileRows_, lastSort_->first, lastSort_->second);
    Notify([](SessionObserver& o) { o.FileRowsChanged(); });
}

Outcome Session::SortFileRows(int column, bool ascending) {
    return Guarded([this, column, ascending] {
        if (column < 0 || column >= FileRow::kColumnCount) return Outcome::Done;
        lastSort_ = {column, ascending};
        SortRows(fileRows_, column, ascending);
        Notify([](SessionObserver& o) { o.FileRowsChanged(); });
        return Outcome::Done;
    });
}

}  // namespace mt
