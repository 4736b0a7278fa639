// Time of day from the local wall clock, intervals from the monotonic one.
#include "platform/posix/posix_clock.h"

#include <ctime>

namespace tarnwipe {

float PosixClock::TimeOfDay() {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local {};
  ::localtime_r(&now.tv_sec, &local);
  const double dblSeconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
  return static_cast<float>(dblSeconds);
}

double PosixClock::Monotonic() {
  timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

}  // namespace tarnwipe
