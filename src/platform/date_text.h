#pragma once
// Date and time texts: the SQL date-time stamp of the log, and the short forms of the list.

#include <string>

#include "platform/file_system.h"

namespace mt {

// The current local date and time as YYYY-MM-DD HH:MM:SS.
std::string CurrentDateStamp();
// The local date and time of t as YYYY-MM-DD HH:MM:SS.
std::string DateStampOf(TimePoint t);
// The user's short date form, one blank, and the short time form.
std::string ShortDateTimeText(TimePoint t);

}  // namespace mt
