#pragma once
// The status label and progress bar that a Session hands to the catalogue objects it drives.
// They forward to whatever the front end has attached (to nothing when none), so a worker
// never holds a widget that is gone, and every status text reaches the front end decoded for
// display: UTF-8 when valid, else Mac Roman.

#include <string>

#include "platform/hooks.h"

namespace mt {

class StatusRelay : public StatusLabel {
public:
    // Null detaches. Not owned.
    void Attach(StatusLabel* target) { target_ = target; }
    // The text last set, as it was given (bytes).
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;
    void Refresh() override;

private:
    StatusLabel* target_ = nullptr;
    std::string text_;
};

class ProgressRelay : public ProgressBar {
public:
    void Attach(ProgressBar* target) { target_ = target; }
    int Value() const override;
    void SetValue(int value) override;
    void SetVisible(bool visible) override;
    void Refresh() override;

private:
    ProgressBar* target_ = nullptr;
    int value_ = 0;
};

}  // namespace mt
