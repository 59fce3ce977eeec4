#include "platform/ticks.h"

#include <chrono>

namespace mt {

namespace {
std::function<double()>& Source() {
    static std::function<double()> source;
    return source;
}
}  // namespace

double Ticks() {
    if (Source()) return Source()();
    using namespace std::chrono;
    auto since = steady_clock::now().time_since_epoch();
    return static_cast<double>(duration_cast<microseconds>(since).count()) * 60.0 / 1e6;
}

void SetTickSource(std::function<double()> source) { Source() = std::move(source); }

}  // namespace mt
