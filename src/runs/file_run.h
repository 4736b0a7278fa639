// The run over one chosen file.
#pragma once

#include <optional>
#include <string>

#include "engine/file_outcome.h"
#include "runs/confinement.h"
#include "runs/run.h"

namespace tarnwipe {

class FileRun : public Run {
 public:
  FileRun(RunParts parts, std::string sTarget) : m_parts(std::move(parts)), m_sTarget(std::move(sTarget)) {}

  // Refuses a protected file and a file that became a folder; holds the file's folder from here
  // to the end of the erase. A file that vanished meanwhile gets the engine's failure line.
  std::string Check() override;
  std::string Question() const override;
  void Execute() override;
  void Summary() override;

 private:
  RunParts m_parts;
  std::string m_sTarget;
  std::string m_sName;
  std::optional<Confinement> m_held;
  bool m_bLink = false;
  std::string m_sOldCopies;  // the file's file system when it keeps old copies
  FileOutcome m_outcome;
};

}  // namespace tarnwipe
