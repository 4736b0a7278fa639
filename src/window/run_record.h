// The run record: the window's form-level state that the erase runs share.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwipe {

struct RunRecord {
  bool bBlocked = false;    // the program's own folder was met in a folder run
  bool bStop = false;       // Esc was pressed: the user asks the run to stop
  bool bFinishing = false;  // the Done handler is at work
  bool bMap = false;        // the chosen target is a map (folder)
  int16_t iFileNo = 0;      // number of the open erase file, 0 when none
  int32_t lNotRemoved = 0;  // folders of the run that could not be removed
  float sngFileStart = 0;   // clock before a file is opened
  float sngFileEnd = 0;     // clock when a timed line is written
  float sngStart = 0;       // clock at the start of a run
  float sngEnd = 0;         // clock at the end of a run
  std::string sRootFolder;  // start folder of the current folder run; empty for a single file
  std::string sCurFolder;   // folder last announced by the walker
  std::string sTarget;      // the chosen target; during a run, the file being erased

  bool bRunning = false;         // a run is in progress: no new target, no second run
  bool bCloseRequested = false;  // the window was closed during a run
};

}  // namespace tarnwipe
