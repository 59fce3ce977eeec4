#pragma once
// What the catalogue needs of the window: yielding to the event loop, message boxes, the
// mouse cursor, a progress bar and a status label. The defaults do nothing, so tests and
// the command-line companion run the same code without a window.

#include <functional>
#include <string>

namespace mt {

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
    virtual void SetVisible(bool visible) = 0;
    // Redraws the bar at once, not at the next event cycle.
    virtual void Refresh() = 0;
};

class StatusLabel {
public:
    virtual ~StatusLabel() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void Refresh() = 0;
};

enum class Cursor { Arrow, Watch };

struct Hooks {
    std::function<void()> yield;
    std::function<void(const std::string&)> messageBox;
    std::function<void(Cursor)> setCursor;
};

// The installed hooks; replace members to install.
Hooks& CurrentHooks();

void YieldToEventLoop();
void ShowMessageBox(const std::string& text);
void SetMouseCursor(Cursor cursor);

}  // namespace mt
