// The system clock.
#pragma once

#include "platform/clock.h"

namespace tarnwipe {

class PosixClock : public Clock {
 public:
  float TimeOfDay() override;
  double Monotonic() override;
};

}  // namespace tarnwipe
