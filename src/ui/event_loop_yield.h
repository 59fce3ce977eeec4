#pragma once
// The yield hook of the window: lets the event loop run (repaints, clicks) from inside a long
// command, at most once per interval. Qt has no cheap way to ask whether events wait, so a
// clock decides; a call between two turns costs one reading of a coarse clock.

#include <chrono>

namespace mt {

class EventLoopYield {
public:
    explicit EventLoopYield(std::chrono::milliseconds interval = std::chrono::milliseconds(15));

    // Processes the pending events when at least the interval has passed since the last turn.
    void operator()();
    // How many times the events were processed.
    long turns() const { return turns_; }

private:
    std::chrono::nanoseconds interval_;
    std::chrono::nanoseconds last_;
    long turns_ = 0;
};

}  // namespace mt
