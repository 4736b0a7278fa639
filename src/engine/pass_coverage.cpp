// How far one overwrite pass reaches into a file.
#include "engine/pass_coverage.h"

#include <algorithm>

namespace tarnwipe {

int64_t PassLength(int64_t lLength, int64_t lAllocated, int64_t lBlock) {
  if (lLength <= 0 || lBlock <= 0) return lLength < 0 ? 0 : lLength;
  const int64_t lWhole = (lLength + lBlock - 1) / lBlock * lBlock;
  return lAllocated >= lWhole ? lWhole : lLength;
}

std::vector<ByteRange> PassRanges(int64_t lLength, int64_t lAllocated, int64_t lBlock,
                                  const std::vector<ByteRange>* pOwned) {
  const int64_t lPass = PassLength(lLength, lAllocated, lBlock);
  if (pOwned == nullptr) return lPass > 0 ? std::vector<ByteRange>{{0, lPass}} : std::vector<ByteRange>();
  // The last block's slack is the file's own only where it owns that block.
  int64_t lLimit = lLength;
  if (lBlock > 0 && lLength > 0) {
    const int64_t lWhole = (lLength + lBlock - 1) / lBlock * lBlock;
    const auto ownsLast = [&](const ByteRange& r) { return r.lOffset <= lWhole - lBlock && r.End() >= lWhole; };
    if (std::any_of(pOwned->begin(), pOwned->end(), ownsLast)) lLimit = lWhole;
  }
  std::vector<ByteRange> sorted = *pOwned;
  std::sort(sorted.begin(), sorted.end(), [](const ByteRange& a, const ByteRange& b) { return a.lOffset < b.lOffset; });
  std::vector<ByteRange> ranges;
  for (const ByteRange& owned : sorted) {
    const int64_t lStart = std::max<int64_t>(owned.lOffset, 0), lEnd = std::min(owned.End(), lLimit);
    if (lEnd <= lStart) continue;
    if (!ranges.empty() && lStart <= ranges.back().End()) {
      ranges.back().lLength = std::max(ranges.back().End(), lEnd) - ranges.back().lOffset;
    } else {
      ranges.push_back({lStart, lEnd - lStart});
    }
  }
  return ranges;
}

int64_t BytesIn(const std::vector<ByteRange>& ranges, int64_t lLimit) {
  int64_t lBytes = 0;
  for (const ByteRange& range : ranges) lBytes += std::max<int64_t>(0, std::min(range.End(), lLimit) - range.lOffset);
  return lBytes;
}

}  // namespace tarnwipe
