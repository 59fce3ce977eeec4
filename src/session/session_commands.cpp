// Session: the commands on the selected rows: Sift Volumes, the project commands and the bins.

#include "session/session.h"

#include "session/picked_path.h"

namespace mt {

namespace {
// Runs step on the object of every selected row, in row order; the rows are counted once at
// the start and every row is followed by a yield. True when some row was selected, whether or
// not it held an object.
template <class Row, class Object>
bool ForEachSelected(std::vector<Row>& rows, std::shared_ptr<Object> Row::*object,
                     const std::function<void(Object&)>& step) {
    bool anySelected = false;
    const size_t count = rows.size();
    for (size_t i = 0; i < count && i < rows.size(); ++i) {
        if (rows[i].selected) {
            anySelected = true;
            if (std::shared_ptr<Object> held = rows[i].*object) step(*held);
        }
        YieldToEventLoop();
    }
    return anySelected;
}
}  // namespace

void Session::RunWorker(Worker& worker, const std::string& status,
                        const std::function<void()>& operation) {
    SetStatus(status);
    Attach(worker);
    operation();
    AddLog(worker.logstring);
}

Outcome Session::SiftVolumes() {
    return Guarded([this] {
        const bool anySelected = ForEachSelected<VolumeRow, Tarnwicker>(
            volumeRows_, &VolumeRow::folder, [this](Tarnwicker& folder) {
                RunWorker(folder, "Sifting " + folder.Name(), [&folder] { folder.Sift(); });
            });
        if (!anySelected) ShowMessageBox("No Volume selected");
        DisableCommandButtons();
        SetStatus(kReadyText);
        DoScanVolumes(true);
        return Outcome::Done;
    });
}

void Session::RunOnSelectedProjects(ListId list, const std::string& statusPrefix,
                                    const std::function<void(Project&)>& operation) {
    const bool anySelected = ForEachSelected<ProjectRow, Project>(
        *ProjectList(list), &ProjectRow::project, [&](Project& project) {
            RunWorker(project, statusPrefix + project.projectname, [&] { operation(project); });
        });
    if (!anySelected) ShowMessageBox("No Project selected");
    SetStatus(kReadyText);
    DisableCommandButtons();
}

Outcome Session::SiftProject() {
    return Guarded([this] {
        RunOnSelectedProjects(ListId::Projects, "Moving ", [](Project& p) { p.SiftProject(); });
        DoScanVolumes(true);
        return Outcome::Done;
    });
}

Outcome Session::CopyProject(const Chooser& chooseFolder) {
    return GuardedChoice(chooseFolder, "Select Target Folder to copy project files to",
                         [this](const std::string& target) {
                             const FolderItem folder = FolderItem::OnItsVolume(target, cache_);
                             RunOnSelectedProjects(
                                 ListId::Projects, "Copying ",
                                 [&folder](Project& p) { p.CopyProject(folder); });
                         });
}

Outcome Session::UnsiftProject() {
    return Guarded([this] {
        RunOnSelectedProjects(ListId::SiftedProjects, "Unsifting ",
                              [](Project& p) { p.UnsiftProject(); });
        DoScanVolumes(true);
        return Outcome::Done;
    });
}

Outcome Session::AddBin(const Chooser& chooseFile) {
    return GuardedChoice(chooseFile, "Select Bin to add to list",
                         [this](const std::string& file) { DoAddBin(file); });
}

Outcome Session::AddBinFile(const std::string& path) {
    return Guarded([this, &path] {
        DoAddBin(ResolvePicked(fs_, path));
        return Outcome::Done;
    });
}

void Session::DoAddBin(const std::string& path) {
    auto bin = std::make_shared<BinClass>();
    bin->file = FolderItem::OnItsVolume(path, cache_);
    BinRow row;
    row.text = DisplayText(bin->Name());
    row.bin = std::move(bin);
    row.selected = true;
    binRows_.push_back(std::move(row));
    const size_t index = binRows_.size() - 1;
    Notify([index](SessionObserver& o) { o.RowAdded(ListId::Bins, index); });
    ScanBin();
}

void Session::ScanBin() {
    std::vector<TarnwickerPtr> folders;
    const size_t volumeCount = volumeRows_.size();
    for (size_t i = 0; i < volumeCount && i < volumeRows_.size(); ++i) {
        if (volumeRows_[i].selected && volumeRows_[i].folder) {
            folders.push_back(volumeRows_[i].folder);
        }
        YieldToEventLoop();
    }
    const size_t binCount = binRows_.size();
    for (size_t i = 0; i < binCount && i < binRows_.size(); ++i) {
        if (binRows_[i].selected && binRows_[i].bin) {
            BinClassPtr bin = binRows_[i].bin;
            bin->MediaFiles.clear();
            for (const TarnwickerPtr& folder : folders) {
                // Every file the folder's last scan found: a bin may use any of them.
                const MediaFileList everyFile = folder->MediaFiles;
                bin->AddMediaFiles(everyFile);
                YieldToEventLoop();
            }
            binRows_[i].text = DisplayText(bin->DumpStatus());
            Notify([i](SessionObserver& o) { o.RowTextChanged(ListId::Bins, i); });
        }
        YieldToEventLoop();
    }
    Buttons buttons = buttons_;
    buttons.CopyBinBtn = true;
    SetButtons(buttons);
    SetStatus(kReadyText);
    HideProgress();
}

Outcome Session::CopyBin(const Chooser& chooseFolder) {
    return GuardedChoice(
        chooseFolder, "Select Target Folder to copy bin files to",
        [this](const std::string& target) {
            const FolderItem folder = FolderItem::OnItsVolume(target, cache_);
            const bool anySelected =
                ForEachSelected<BinRow, BinClass>(binRows_, &BinRow::bin, [&](BinClass& bin) {
                    RunWorker(bin, "Copying " + bin.Name(), [&] { bin.CopyBin(folder); });
                });
            if (!anySelected) ShowMessageBox("No Bin selected");
            SetStatus(kReadyText);
        });
}

}  // namespace mt
