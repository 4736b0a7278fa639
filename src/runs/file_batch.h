// The small files of a run gathered into batches, which the engine erases pass-major.
#pragma once

#include <string>

#include "engine/eraser.h"
#include "engine/name_removal.h"
#include "runs/run.h"
#include "runs/run_totals.h"

namespace tarnwipe {

class FileBatch {
 public:
  // What the batch's files come to is added to totals; their names go through removal.
  FileBatch(const RunParts& parts, NameRemoval& removal, RunTotals& totals)
      : m_parts(parts), m_eraser(parts.fs, parts.reporter, removal), m_totals(totals) {}

  // Adds a file of the folder held now; its Erasing line is written now. A full batch is erased
  // at once; a large file is erased on its own, after the files added before it.
  void Add(const std::string& sPath);

  // Erases the files added, all passes of each. A batch begun is finished, Esc or not.
  void Erase();

 private:
  const RunParts& m_parts;
  Eraser m_eraser;
  RunTotals& m_totals;
};

}  // namespace tarnwipe
