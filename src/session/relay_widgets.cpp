#include "session/relay_widgets.h"

#include "platform/text.h"

namespace mt {

void StatusRelay::SetText(const std::string& text) {
    text_ = text;
    if (target_) target_->SetText(DisplayText(text));
}

void StatusRelay::Refresh() {
    if (target_) target_->Refresh();
}

int ProgressRelay::Value() const { return target_ ? target_->Value() : value_; }

void ProgressRelay::SetValue(int value) {
    value_ = value;
    if (target_) target_->SetValue(value);
}

void ProgressRelay::SetVisible(bool visible) {
    if (target_) target_->SetVisible(visible);
}

void ProgressRelay::Refresh() {
    if (target_) target_->Refresh();
}

}  // namespace mt
