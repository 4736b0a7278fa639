// Gathering small files into batches.
#include "runs/file_batch.h"

#include <algorithm>

#include "engine/eraser.h"

namespace tarnwipe {

void FileBatch::Add(const std::string& sPath) {
  // A file gone since it was listed or chosen was never overwritten: the engine says so, and it
  // is counted.
  const int64_t lLength = std::max<int64_t>(0, m_parts.fs.FileLength(sPath));
  if (lLength > Eraser::kBatchFileBytes) {
    Erase();
    if (m_parts.bStop) return;
    Eraser eraser(m_parts.fs, m_parts.reporter, m_removal);
    m_totals.Add(eraser.EraseFile(sPath, m_parts.lPasses, lLength));
    return;
  }
  m_asPaths.push_back(sPath);
  m_lBytes += lLength;
  if (m_asPaths.size() >= Eraser::kBatchFiles || m_lBytes >= Eraser::kBatchBytes) Erase();
}

void FileBatch::Erase() {
  if (!m_asPaths.empty() && !m_parts.bStop) {
    Eraser eraser(m_parts.fs, m_parts.reporter, m_removal);
    for (const FileOutcome& outcome : eraser.EraseBatch(m_asPaths, m_parts.lPasses)) m_totals.Add(outcome);
  }
  m_asPaths.clear();
  m_lBytes = 0;
}

}  // namespace tarnwipe
