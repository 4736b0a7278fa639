// A run: one erase of what the window chose, in one shape whatever it erases.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/separators.h"
#include "platform/special_folders.h"
#include "runs/protection.h"
#include "runs/run_reporter.h"

namespace tarnwipe {

// How the question of a run that Esc can stop ends, and the run's title.
inline constexpr char kStopHint[] = "Press <Esc> to stop!";

// What every run works with. The window keeps the stop request and the block, and hands them in.
struct RunParts {
  FileSystem& fs;
  RunReporter& reporter;
  const Protection& protection;
  const SpecialFolders& folders;
  const Separators& seps;
  const bool& bStop;      // the user asks the run to stop (Esc, or closing the window)
  bool bBlocked = false;  // an earlier run of this window met the program's own folder
  int32_t lPasses = 0;    // the last pass's number; -1 when the count was no number
  std::string sPattern;   // the pattern list of the walks
};

class Run {
 public:
  virtual ~Run() = default;

  // The notice that keeps the run from starting; empty when it may start. From here on the
  // run holds what it is to erase, so that what the question names is what is erased.
  virtual std::string Check() = 0;

  // The confirmation question.
  virtual std::string Question() const = 0;

  // Erases, telling the reporter what happens.
  virtual void Execute() = 0;

  // Tells the reporter how the run ended, with its totals.
  virtual void Summary() = 0;

  // True when the run met the program's own folder: later runs of the window stand aside too.
  virtual bool Blocked() const { return false; }
};

}  // namespace tarnwipe
