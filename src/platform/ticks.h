#pragma once
// The tick count: sixtieths of a second from a monotonic clock. Tests replace the source.

#include <functional>

namespace mt {

double Ticks();
// Installs a tick source; an empty function restores the clock.
void SetTickSource(std::function<double()> source);

}  // namespace mt
