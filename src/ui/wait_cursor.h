#pragma once
// The cursor hook of the window. Qt's override cursors stack, while the catalogue asks for
// the watch at every progress step and for the arrow once at the end: this keeps at most one
// override of its own in place.

#include "platform/hooks.h"

namespace mt {

class WaitCursor {
public:
    WaitCursor() = default;
    // Restores the cursor if the watch is still shown.
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    // Watch: sets the watch cursor unless it is already set. Arrow: takes it away if set.
    void Set(Cursor cursor);
    bool watching() const { return watching_; }

private:
    bool watching_ = false;
};

}  // namespace mt
