// The clock the runs time themselves with.
#pragma once

namespace tarnwipe {

class Clock {
 public:
  virtual ~Clock() = default;

  // A clock reading in seconds with a fraction, wrapping at a day (86,400) as the time of day
  // does; it never jumps with the wall clock.
  virtual float TimeOfDay() = 0;

  // Seconds on a clock that never goes back; only differences mean anything.
  virtual double Monotonic() = 0;
};

}  // namespace tarnwipe
