#include "ui/event_loop_yield.h"

#include <QCoreApplication>

#ifdef __linux__
#include <time.h>
#endif

namespace mt {

namespace {
// A monotonic time. Linux's coarse clock (a few milliseconds of resolution) costs a fraction
// of the precise one, and a 15 ms throttle needs no more.
std::chrono::nanoseconds Now() {
#ifdef __linux__
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0)
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
#endif
    return std::chrono::steady_clock::now().time_since_epoch();
}
}  // namespace

EventLoopYield::EventLoopYield(std::chrono::milliseconds interval)
    : interval_(interval), last_(Now()) {}

void EventLoopYield::operator()() {
    if (Now() - last_ < interval_) return;
    ++turns_;
    QCoreApplication::processEvents();
    // Counted from the end of the turn, so a slow repaint does not make the next one due at once.
    last_ = Now();
}

}  // namespace mt
