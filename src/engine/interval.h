// Seconds between two time-of-day readings.
#pragma once

namespace tarnwipe {

// Allows for one midnight between the readings; a result of exactly 0 becomes 0.1, so callers
// may divide by it.
float GetInterval(float sngStart, float sngStop);

}  // namespace tarnwipe
