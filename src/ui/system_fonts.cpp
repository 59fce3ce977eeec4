#include "ui/system_fonts.h"

#include <QApplication>

#include <algorithm>

namespace mt {

QFont SystemFont() { return QApplication::font(); }

QFont SmallSystemFont() {
#ifdef Q_OS_MACOS
    // The Mac theme knows its small system font by this class name.
    return QApplication::font("QSmallFont");
#else
    // Elsewhere no theme names one: take the Mac's ratio of 11 to 13 points, and stay legible.
    // (The themes' "smallest readable" font is often larger than the standard one.)
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(font.pointSizeF() * 11.0 / 13.0, 7.0));
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(font.pixelSize() * 11 / 13, 9));
    }
    return font;
#endif
}

}  // namespace mt
