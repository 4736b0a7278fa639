// How far one overwrite pass reaches into a file.
#include "engine/pass_coverage.h"

namespace tarnwipe {

int64_t PassLength(int64_t lLength, int64_t lAllocated, int64_t lBlock) {
  if (lLength <= 0 || lBlock <= 0) return lLength < 0 ? 0 : lLength;
  const int64_t lWhole = (lLength + lBlock - 1) / lBlock * lBlock;
  return lAllocated >= lWhole ? lWhole : lLength;
}

}  // namespace tarnwipe
