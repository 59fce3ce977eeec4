#pragma once
// What a front end (the window, the command-line companion) hears from its Session, so that
// it can show the change at once: rows added or changed, lists refilled, buttons, the log,
// and a close that was put off until the running command ended. Every notification comes on
// the thread that called the Session, in the middle of a command when that command yields.

#include <cstddef>
#include <string>

namespace mt {

enum class ListId { Volumes, Projects, SiftedProjects, Bins };

class SessionObserver {
public:
    virtual ~SessionObserver() = default;

    // The list was emptied.
    virtual void ListCleared(ListId /*list*/) {}
    // A row was appended at index row; its text and whether it is selected are in the Session.
    virtual void RowAdded(ListId /*list*/, size_t /*row*/) {}
    // The text of a row changed.
    virtual void RowTextChanged(ListId /*list*/, size_t /*row*/) {}
    // The file rows were emptied (a refill starts) or replaced or re-sorted (it ended).
    virtual void FileRowsCleared() {}
    virtual void FileRowsChanged() {}
    // Some enabled state of Buttons changed.
    virtual void ButtonsChanged() {}
    // Display text (UTF-8) appended to the log.
    virtual void LogAppended(const std::string& /*text*/) {}
    // A close asked for while a command ran is due now that it has ended.
    virtual void CloseDue() {}
};

}  // namespace mt
