// What the erase engine tells about the file it works on. The listener turns it into the
// program's texts and lets the window breathe; the engine itself knows no window.
#pragma once

#include <cstdint>
#include <string>

#include "engine/file_outcome.h"

namespace tarnwipe {

class EraseReporter {
 public:
  virtual ~EraseReporter() = default;

  // A file's erase begins: its name, its length, the bytes of it in use and the last pass it
  // gets (passes 0 to lPasses).
  virtual void FileStarted(const std::string& sName, int64_t lBytes, int64_t lInUse, int32_t lPasses) = 0;

  // lBytes more of pass iPass went out; dblPassDone of that pass (0 to 1) is done.
  virtual void Written(int64_t lBytes, int32_t iPass, double dblPassDone) = 0;

  // The file's erase is over.
  virtual void FileEnded(const FileOutcome& outcome) = 0;

  // A long step made progress: the window may process its input, at most about once a frame.
  virtual void Breathe() = 0;
};

}  // namespace tarnwipe
