// What Window1 does with its Session: every click, drop, sort and the timer go to it as one
// command each; opening lists the volumes and times the first scan; closing waits for a
// running command and saves the log; the session's notifications are shown on the widgets.

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <exception>

#include "ui/bin_list_widget.h"
#include "ui/dialogs.h"
#include "ui/file_list_model.h"
#include "ui/window1.h"

namespace mt {

void Window1::ConnectControls() {
    const auto command = [this](QPushButton* button, std::function<Outcome()> run) {
        connect(button, &QPushButton::clicked, this, [this, run] { Run(run); });
    };
    command(scanButton_, [this] { return session_->ScanVolumes(true); });
    command(addFolderButton_, [this] { return session_->AddFolder(FolderChooser()); });
    command(siftButton_, [this] { return session_->SiftVolumes(); });
    command(moveButton_, [this] { return session_->SiftProject(); });
    command(copyButton_, [this] { return session_->CopyProject(FolderChooser()); });
    command(unsiftButton_, [this] { return session_->UnsiftProject(); });
    command(addBinButton_, [this] { return session_->AddBin(FileChooser()); });
    command(copyBinButton_, [this] { return session_->CopyBin(FolderChooser()); });

    for (ListId list : {ListId::Volumes, ListId::Projects, ListId::SiftedProjects, ListId::Bins}) {
        connect(ListWidget(list), &QListWidget::itemSelectionChanged, this,
                [this, list] { SelectionChanged(list); });
    }
    binList_->SetDropHandlers(
        [this](const std::string& path) { return session_->IsBinDocument(path); },
        [this](const std::string& path) {
            Run([this, &path] { return session_->AddBinFile(path); });
        });
    fileModel_->SetSorter([this](int column, bool ascending) {
        return Run([this, column, ascending] {
                   return session_->SortFileRows(column, ascending);
               }) == Outcome::Done;
    });
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Action(); });
}

Outcome Window1::Run(const std::function<Outcome()>& command) {
    // The session turns failures into message boxes itself; this is the last line, so that
    // nothing a command throws ever ends the application.
    try {
        return command();
    } catch (const std::exception& e) {
        ShowMessageBox(std::string("The command stopped before its end: ") + e.what());
    } catch (...) {
        ShowMessageBox("The command stopped before its end.");
    }
    return Outcome::Done;
}

Chooser Window1::FolderChooser() {
    return [this](const std::string& prompt) { return setup_.dialogs->ChooseFolder(this, prompt); };
}

Chooser Window1::FileChooser() {
    return [this](const std::string& prompt) { return setup_.dialogs->ChooseFile(this, prompt); };
}

void Window1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (opened_) return;
    opened_ = true;
    // The window is on screen before the volumes are listed (listing may wait on a slow drive).
    QMetaObject::invokeMethod(
        this, [this] { Open(); }, Qt::QueuedConnection);
}

void Window1::Open() {
    if (closed_) return;
    Run([this] { return session_->BuildVolumeList(); });
    // The first scan is timed from here, so it never starts before the volumes are listed.
    if (!closed_) timer1_->start();
}

void Window1::Timer1_Action() {
    if (closed_) return;
    // Refused while something else runs: try again a moment later.
    if (Run([this] { return session_->FirstScan(); }) == Outcome::Refused) timer1_->start();
}

void Window1::closeEvent(QCloseEvent* event) {
    if (!session_->RequestClose()) {
        // A command runs: CloseDue comes when it has ended.
        event->ignore();
        return;
    }
    timer1_->stop();
    if (!closed_) {
        closed_ = true;
        session_->SaveLog();
    }
    event->accept();
}

QListWidget* Window1::ListWidget(ListId list) const {
    switch (list) {
        case ListId::Volumes: return volumeList_;
        case ListId::Projects: return projectList_;
        case ListId::SiftedProjects: return siftedProjectList_;
        case ListId::Bins: return binList_;
    }
    return nullptr;
}

Window1::ShownRow Window1::RowOf(ListId list, size_t row) const {
    const auto shown = [row](const auto& rows) {
        return row < rows.size() ? ShownRow{rows[row].text, rows[row].selected} : ShownRow{};
    };
    switch (list) {
        case ListId::Volumes: return shown(session_->volumeRows());
        case ListId::Projects: return shown(session_->projectRows());
        case ListId::SiftedProjects: return shown(session_->siftedProjectRows());
        case ListId::Bins: return shown(session_->binRows());
    }
    return {};
}

void Window1::SelectionChanged(ListId list) {
    if (showingSession_) return;
    QListWidget* widget = ListWidget(list);
    std::vector<size_t> rows;
    for (int i = 0; i < widget->count(); ++i) {
        if (widget->item(i)->isSelected()) rows.push_back(static_cast<size_t>(i));
    }
    session_->SetSelection(list, rows);
}

namespace {
// Marks a change the window makes to show the session, for as long as it lasts.
class ShowingSession {
public:
    explicit ShowingSession(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~ShowingSession() { flag_ = before_; }

private:
    bool& flag_;
    bool before_;
};
}  // namespace

void Window1::ListCleared(ListId list) {
    ShowingSession showing(showingSession_);
    ListWidget(list)->clear();
}

void Window1::RowAdded(ListId list, size_t row) {
    ShowingSession showing(showingSession_);
    const ShownRow shown = RowOf(list, row);
    auto* item = new QListWidgetItem(QString::fromStdString(shown.text));
    ListWidget(list)->insertItem(static_cast<int>(row), item);
    item->setSelected(shown.selected);
}

void Window1::RowTextChanged(ListId list, size_t row) {
    ShowingSession showing(showingSession_);
    if (QListWidgetItem* item = ListWidget(list)->item(static_cast<int>(row))) {
        const ShownRow shown = RowOf(list, row);
        item->setText(QString::fromStdString(shown.text));
        item->setSelected(shown.selected);
    }
}

void Window1::FileRowsCleared() { fileModel_->Clear(); }

void Window1::FileRowsChanged() { fileModel_->Refresh(); }

void Window1::ButtonsChanged() { ApplyButtons(session_->buttons()); }

void Window1::LogAppended(const std::string& text) { AddLog(text); }

void Window1::CloseDue() {
    // Closed from the event loop, once the command has left the session.
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

}  // namespace mt
