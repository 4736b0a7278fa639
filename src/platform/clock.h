// The clock the runs time themselves with.
#pragma once

namespace tarnwipe {

class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds since local midnight, with a fraction.
  virtual float TimeOfDay() = 0;

  // Seconds on a clock that never goes back; only differences mean anything.
  virtual double Monotonic() = 0;
};

}  // namespace tarnwipe
