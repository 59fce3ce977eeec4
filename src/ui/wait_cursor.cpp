#include "ui/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace mt {

WaitCursor::~WaitCursor() { Set(Cursor::Arrow); }

void WaitCursor::Set(Cursor cursor) {
    const bool watch = cursor == Cursor::Watch;
    if (watch == watching_) return;
    watching_ = watch;
    if (watch) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace mt
