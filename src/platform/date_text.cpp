#include "platform/date_text.h"

#include <ctime>

namespace mt {

namespace {
std::tm LocalTime(TimePoint t) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    return parts;
}

std::string Format(TimePoint t, const char* pattern) {
    std::tm parts = LocalTime(t);
    char buffer[64];
    size_t n = std::strftime(buffer, sizeof buffer, pattern, &parts);
    return std::string(buffer, n);
}
}  // namespace

std::string DateStampOf(TimePoint t) { return Format(t, "%Y-%m-%d %H:%M:%S"); }

std::string CurrentDateStamp() { return DateStampOf(std::chrono::system_clock::now()); }

std::string ShortDateTimeText(TimePoint t) { return Format(t, "%x %H:%M"); }

}  // namespace mt
