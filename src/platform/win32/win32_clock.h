// The system clock on Windows.
#pragma once

#include "platform/clock.h"

namespace tarnwipe {

class Win32Clock : public Clock {
 public:
  float TimeOfDay() override;
  double Monotonic() override;
};

}  // namespace tarnwipe
