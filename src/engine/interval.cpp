// Interval between two readings of the time of day.
#include "engine/interval.h"

namespace tarnwipe {

float GetInterval(float sngStart, float sngStop) {
  const float sngSeconds = sngStop < sngStart ? (86400.0F - sngStart) + sngStop : sngStop - sngStart;
  return sngSeconds == 0.0F ? 0.1F : sngSeconds;
}

}  // namespace tarnwipe
