// Time of day from the local wall clock, intervals from the performance counter.
#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace tarnwipe {

float Win32Clock::TimeOfDay() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return static_cast<float>(now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0);
}

double Win32Clock::Monotonic() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace tarnwipe
