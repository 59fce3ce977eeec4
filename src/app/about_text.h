#pragma once
// The text of the About box.

#include <QString>

namespace mt {

// "MacTarnwick " and the version, an empty line, then four lines of credits; no line end at
// the end.
QString AboutText(const QString& version);

}  // namespace mt
