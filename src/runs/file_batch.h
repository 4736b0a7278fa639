// The small files of a run gathered into batches, which the engine erases pass-major.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/name_removal.h"
#include "runs/run.h"
#include "runs/run_totals.h"

namespace tarnwipe {

class FileBatch {
 public:
  // What the batch's files come to is added to totals; their names go through removal.
  FileBatch(const RunParts& parts, NameRemoval& removal, RunTotals& totals)
      : m_parts(parts), m_removal(removal), m_totals(totals) {}

  // Adds a file of the folder held now. A full batch is erased at once; a large file is erased
  // on its own, after the files added before it.
  void Add(const std::string& sPath);

  // Erases the files gathered, all passes of each, and empties the batch. After Esc nothing more
  // is begun: files gathered but not begun stay as they are.
  void Erase();

 private:
  const RunParts& m_parts;
  NameRemoval& m_removal;
  RunTotals& m_totals;
  std::vector<std::string> m_asPaths;
  int64_t m_lBytes = 0;
};

}  // namespace tarnwipe
