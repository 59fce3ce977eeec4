// Session: the commands on the selected rows: Sift Volumes, the project commands and the bins.

#include "session/session.h"

#include "session/picked_path.h"

namespace mt {

Outcome Session::SiftVolumes() {
    return Guarded([this] {
        bool anySelected = false;
        const size_t rowCount = volumeRows_.size();
        for (size_t i = 0; i < rowCount && i < volumeRows_.size(); ++i) {
            if (volumeRows_[i].selected) {
                anySelected = true;
                if (TarnwickerPtr folder = volumeRows_[i].folder) {
                    SetStatus("Sifting " + folder->Name());
                    Attach(*folder);
                    folder->Sift();
                    AddLog(folder->logstring);
                }
            }
            YieldToEventLoop();
        }
        if (!anySelected) ShowMessageBox("No Volume selected");
        DisableCommandButtons();
        SetStatus(kReadyText);
        DoScanVolumes(true);
        return Outcome::Done;
    });
}

void Session::RunOnSelectedProjects(ListId list, const std::string& statusPrefix,
                                    const std::function<void(Project&)>& operation) {
    std::vector<ProjectRow>& rows = *ProjectList(list);
    bool anySelected = false;
    const size_t rowCount = rows.size();
    for (size_t i = 0; i < rowCount && i < rows.size(); ++i) {
        if (rows[i].selected) {
            anySelected = true;
            if (ProjectPtr project = rows[i].project) {
                SetStatus(statusPrefix + project->projectname);
                Attach(*project);
                operation(*project);
                AddLog(project->logstring);
            }
        }
        YieldToEventLoop();
    }
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
    return Guarded([this, &chooseFolder] {
        std::optional<std::string> target =
            Choose(chooseFolder, "Select Target Folder to copy project files to");
        if (!target) return Outcome::Cancelled;
        const FolderItem folder = FolderItem::OnItsVolume(*target, cache_);
        RunOnSelectedProjects(ListId::Projects, "Copying ",
                              [&folder](Project& p) { p.CopyProject(folder); });
        return Outcome::Done;
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
    return Guarded([this, &chooseFile] {
        std::optional<std::string> file = Choose(chooseFile, "Select Bin to add to list");
        if (!file) return Outcome::Cancelled;
        DoAddBin(*file);
        return Outcome::Done;
    });
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
    return Guarded([this, &chooseFolder] {
        std::optional<std::string> target =
            Choose(chooseFolder, "Select Target Folder to copy bin files to");
        if (!target) return Outcome::Cancelled;
        const FolderItem folder = FolderItem::OnItsVolume(*target, cache_);
        bool anySelected = false;
        const size_t rowCount = binRows_.size();
        for (size_t i = 0; i < rowCount && i < binRows_.size(); ++i) {
            if (binRows_[i].selected) {
                anySelected = true;
                if (BinClassPtr bin = binRows_[i].bin) {
                    SetStatus("Copying " + bin->Name());
                    Attach(*bin);
                    bin->CopyBin(folder);
                    AddLog(bin->logstring);
                }
            }
            YieldToEventLoop();
        }
        if (!anySelected) ShowMessageBox("No Bin selected");
        SetStatus(kReadyText);
        return Outcome::Done;
    });
}

}  // namespace mt
