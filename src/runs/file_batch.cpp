// Gathering small files into batches.
#include "runs/file_batch.h"

#include <algorithm>

namespace tarnwipe {

void FileBatch::Add(const std::string& sPath) {
  // A file gone since it was listed or chosen was never overwritten: the engine says so, and it
  // is counted.
  const int64_t lLength = std::max<int64_t>(0, m_parts.fs.FileLength(sPath));
  if (lLength > Eraser::kBatchFileBytes) {
    Erase();
    if (m_parts.bStop) return;
    m_totals.Add(m_eraser.EraseFile(sPath, m_parts.lPasses, lLength));
    return;
  }
  if (const auto outcome = m_eraser.Enlist(sPath, lLength, m_parts.lPasses)) m_totals.Add(*outcome);
  if (m_eraser.BatchFiles() >= Eraser::kBatchFiles || m_eraser.BatchBytes() >= Eraser::kBatchBytes) Erase();
}

void FileBatch::Erase() {
  for (const FileOutcome& outcome : m_eraser.RunBatch(m_parts.lPasses)) m_totals.Add(outcome);
}

}  // namespace tarnwipe
