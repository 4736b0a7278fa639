// The run record: the window's state that the erase command and the folder run share. The
// window owns it; each field says who sets it and who clears it.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwipe {

struct RunRecord {
  // The program's own folder was met in a folder run. Set by the folder run; only window load
  // clears it, so every later folder run in the same window stands aside as well.
  bool bBlocked = false;
  // The user asks the run to stop. Set by Esc and by closing the window during a run; cleared
  // by the erase command when a run starts.
  bool bStop = false;
  // The folder run's Done handler is at work. Set and cleared by that handler.
  bool bFinishing = false;
  // The chosen target is a map (folder). Set by the two selection buttons.
  bool bMap = false;
  // A run is in progress: no new target, no second run. Set and cleared by the erase command.
  bool bRunning = false;
  // The window was closed during a run and closes when the run is over. Set by the window.
  bool bCloseRequested = false;

  int32_t lPasses = 0;      // the pass count the run started with, -1 when it was no number
  int32_t lNotRemoved = 0;  // folders of the run that could not be removed
  float sngStart = 0;       // clock at the start of a run
  float sngEnd = 0;         // clock at the end of a run
  std::string sRootFolder;  // start folder of the current folder run; empty for a single file
  std::string sCurFolder;   // folder last announced by the walker
  std::string sTarget;      // the chosen target; emptied once the run has erased a file
  std::string sOldCopies;   // the run's file system when it keeps old copies; set by the command
};

}  // namespace tarnwipe
