// A clock that moves only when told, or by a fixed step at every reading.
#pragma once

#include "platform/clock.h"

namespace tarnwipe::test {

class FakeClock : public Clock {
 public:
  float sngNow = 100.0F;
  float sngStep = 0.0F;       // added after every time-of-day reading
  double dblMonotonic = 0.0;  // the frame clock; advanced by dblFrameStep at every reading
  double dblFrameStep = 1.0;  // by default every pump request is due

  float TimeOfDay() override {
    const float sngReading = sngNow;
    sngNow += sngStep;
    return sngReading;
  }
  double Monotonic() override { return dblMonotonic += dblFrameStep; }
};

}  // namespace tarnwipe::test
