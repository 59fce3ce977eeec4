#pragma once
// The two named fonts of the window: "System", the application's standard font, and
// "Smallsystem", the smaller font of lists, labels and the tab panel.

#include <QFont>

namespace mt {

QFont SystemFont();
// Smaller than SystemFont(), never below 7 points.
QFont SmallSystemFont();

}  // namespace mt
