// Adding up a run's outcomes.
#include "runs/run_totals.h"

#include "engine/kept_reason.h"

namespace tarnwipe {

void RunTotals::Add(const FileOutcome& outcome) {
  if (!outcome.Erased()) {
    ++keptReasons[KeptReason(outcome)];
    return;
  }
  ++lFiles;
  dblKBytes += static_cast<double>(outcome.lBytes) / 1024.0;
  dblWrittenKBytes += static_cast<double>(outcome.lInUse) / 1024.0;
}

void RunTotals::AddLeft(int32_t lLeft) { keptReasons["left by the listing's limit; erase again to continue"] += lLeft; }

RunTotals& RunTotals::operator+=(const RunTotals& other) {
  lFiles += other.lFiles;
  lFolders += other.lFolders;
  lNotRemoved += other.lNotRemoved;
  lNamesLeft += other.lNamesLeft;
  lUnread += other.lUnread;
  dblKBytes += other.dblKBytes;
  dblWrittenKBytes += other.dblWrittenKBytes;
  for (const auto& [sReason, lCount] : other.keptReasons) keptReasons[sReason] += lCount;
  return *this;
}

int32_t RunTotals::Kept() const {
  int32_t lKept = 0;
  for (const auto& [sReason, lCount] : keptReasons) lKept += lCount;
  return lKept;
}

}  // namespace tarnwipe
