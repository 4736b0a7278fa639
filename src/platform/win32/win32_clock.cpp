// The clock runs time themselves with: the performance counter, never the wall clock.
#include "platform/win32/win32_clock.h"

#include <windows.h>

#include <cmath>

namespace tarnwipe {

// Run times come from the performance counter, wrapped at a day as the time of day is, so that
// a clock step or a daylight-saving change during a run cannot shift them.
float Win32Clock::TimeOfDay() { return static_cast<float>(std::fmod(Monotonic(), 86400.0)); }

double Win32Clock::Monotonic() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace tarnwipe
