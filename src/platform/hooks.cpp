#include "platform/hooks.h"

namespace mt {

Hooks& CurrentHooks() {
    static Hooks hooks;
    return hooks;
}

void YieldToEventLoop() {
    auto& yield = CurrentHooks().yield;
    if (yield) yield();
}

void ShowMessageBox(const std::string& text) {
    auto& box = CurrentHooks().messageBox;
    if (box) box(text);
}

void SetMouseCursor(Cursor cursor) {
    auto& set = CurrentHooks().setCursor;
    if (set) set(cursor);
}

}  // namespace mt
