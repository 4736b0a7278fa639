// The clock runs time themselves with: monotonic, never the wall clock.
#include "platform/posix/posix_clock.h"

#include <cmath>
#include <ctime>

namespace tarnwipe {

// Run times come from the monotonic clock, wrapped at a day as the time of day is, so that a
// clock step or a daylight-saving change during a run cannot shift them.
float PosixClock::TimeOfDay() { return static_cast<float>(std::fmod(Monotonic(), 86400.0)); }

double PosixClock::Monotonic() {
  timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

}  // namespace tarnwipe
