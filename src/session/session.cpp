// Session: construction, the busy guard, the widgets, selections, closing and the log.
// The volume list and scans are in session_volumes.cpp, the commands in session_commands.cpp.

#include "session/session.h"

#include <new>

#include "platform/mac_metadata.h"
#include "session/picked_path.h"

namespace mt {

Session::Session(FileSystem& fs, VolumeSource volumes, std::vector<std::string> logFolders)
    : fs_(fs), cache_(fs), volumeSource_(std::move(volumes)), logFolders_(std::move(logFolders)) {}

Session::~Session() = default;

void Session::SetObserver(SessionObserver* observer) { observer_ = observer; }
void Session::SetProgressBar(ProgressBar* bar) { progress_.Attach(bar); }
void Session::SetStatusLabel(StatusLabel* label) { label_.Attach(label); }

Outcome Session::Guarded(const std::function<Outcome()>& body) {
    if (busy_) {
        SetStatus(kBusyText);
        return Outcome::Refused;
    }
    busy_ = true;
    Outcome outcome = Outcome::Done;
    try {
        outcome = body();
    } catch (const std::bad_alloc&) {
        Stopped("there was not enough memory");
    } catch (const std::exception& e) {
        Stopped(e.what());
    } catch (...) {
        Stopped("");
    }
    busy_ = false;
    if (closePending_) {
        closePending_ = false;
        Notify([](SessionObserver& o) { o.CloseDue(); });
    }
    return outcome;
}

void Session::Stopped(const std::string& why) {
    // Reporting must not fail in its turn: the guard is cleared whatever happens here.
    try {
        HideProgress();
        SetStatus(kReadyText);
        std::string text = "The command stopped before its end";
        text += why.empty() ? "." : ": " + DisplayText(why) + ".";
        text += " Files it had moved or copied by then stay where they are now.";
        ShowMessageBox(text);
    } catch (...) {
    }
}

bool Session::RequestClose() {
    if (!busy_) return true;
    closePending_ = true;
    SetStatus(kClosingText);
    return false;
}

void Session::SetSelection(ListId list, const std::vector<size_t>& rows) {
    auto select = [&rows](auto& listRows) {
        for (auto& row : listRows) row.selected = false;
        for (size_t index : rows) {
            if (index < listRows.size()) listRows[index].selected = true;
        }
    };
    switch (list) {
        case ListId::Volumes: select(volumeRows_); return;  // no Change event of its own
        case ListId::Projects: select(projectRows_); break;
        case ListId::SiftedProjects: select(siftedProjectRows_); break;
        case ListId::Bins: select(binRows_); break;
    }
    ApplyButtonRule();
}

std::optional<size_t> Session::FindProjectRow(ListId list, const Bytes& name) const {
    const std::vector<ProjectRow>* rows = ProjectList(list);
    if (!rows) return std::nullopt;
    for (size_t i = 0; i < rows->size(); ++i) {
        if ((*rows)[i].project && (*rows)[i].project->projectname == name) return i;
    }
    for (size_t i = 0; i < rows->size(); ++i) {
        if ((*rows)[i].project && EqualsIgnoringCase((*rows)[i].project->projectname, name))
            return i;
    }
    return std::nullopt;
}

bool Session::IsBinDocument(const std::string& path) const {
    const std::string file = ResolvePicked(fs_, path);
    return EndsWithIgnoringCase(file, ".avb") || EqualsIgnoringCase(ReadMacType(fs_, file), "ATob");
}

LogBook::SaveResult Session::SaveLog() {
    LogBook::SaveResult result = log_.Save(fs_, logFolders_, std::chrono::system_clock::now());
    if (result.failure) ShowMessageBox(result.failure->message);
    return result;
}

void Session::AddLog(const std::string& block) {
    const size_t before = log_.Text().size();
    log_.Append(block);
    const std::string shown = log_.Text().substr(before);
    Notify([&shown](SessionObserver& o) { o.LogAppended(shown); });
}

Selections Session::CurrentSelections() const {
    Selections selections;
    for (const auto& row : projectRows_) selections.projects |= row.selected;
    for (const auto& row : siftedProjectRows_) selections.siftedProjects |= row.selected;
    for (const auto& row : volumeRows_) selections.volumes |= row.selected;
    for (const auto& row : binRows_) selections.bins |= row.selected;
    return selections;
}

void Session::ApplyButtonRule() { SetButtons(EnableButtons(buttons_, CurrentSelections())); }

void Session::DisableCommandButtons() {
    Buttons buttons = buttons_;
    buttons.CopyButton = buttons.SiftButton = buttons.MoveButton = buttons.UnsiftButton = false;
    SetButtons(buttons);
}

void Session::SetButtons(const Buttons& buttons) {
    if (buttons == buttons_) return;
    buttons_ = buttons;
    Notify([](SessionObserver& o) { o.ButtonsChanged(); });
}

void Session::SetStatus(const std::string& text) {
    label_.SetText(text);
    label_.Refresh();
}

void Session::ShowProgress(int value) {
    progress_.SetValue(value);
    progress_.SetVisible(true);
    progress_.Refresh();
}

void Session::HideProgress() { progress_.SetVisible(false); }

void Session::Attach(Worker& worker) {
    worker.progress = &progress_;
    worker.label = &label_;
}

Outcome Session::GuardedChoice(const Chooser& chooser, const std::string& prompt,
                               const std::function<void(const std::string&)>& body) {
    return Guarded([&] {
        // The dialog is asked inside the guard: a modal dialog runs the event loop.
        std::optional<std::string> chosen = chooser ? chooser(prompt) : std::nullopt;
        if (!chosen || chosen->empty()) return Outcome::Cancelled;
        body(ResolvePicked(fs_, *chosen));
        return Outcome::Done;
    });
}

std::vector<ProjectRow>* Session::ProjectList(ListId list) {
    if (list == ListId::Projects) return &projectRows_;
    if (list == ListId::SiftedProjects) return &siftedProjectRows_;
    return nullptr;
}

const std::vector<ProjectRow>* Session::ProjectList(ListId list) const {
    return const_cast<Session*>(this)->ProjectList(list);
}

void Session::Notify(const std::function<void(SessionObserver&)>& tell) {
    if (observer_) tell(*observer_);
}

}  // namespace mt
