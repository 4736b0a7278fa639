// The run record: the window's state that the erase command and the folder run share. The
// window owns it; each field says who sets it and who clears it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runs/target.h"

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
  // Kilobytes of the run's erased files that were holes: chosen and counted, but never written,
  // so no speed is told from them. Cleared by the command, added to as files are erased.
  double dblHoleKBytes = 0;
  // The files a folder run, or a run over several, kept, counted by the reason they were kept.
  // Cleared by the command, added to as files are kept.
  std::map<std::string, int32_t> keptReasons;

  // A selection of two or more items, files and maps mixed; empty when one target (sTarget) or
  // none is chosen. Set by the selection, read by the erase command.
  std::vector<Target> several;
  // A run over several items is under way: each map's walk adds its counts to the totals below
  // instead of writing a closing line of its own. Set and cleared by that run.
  bool bSeveral = false;
  struct Totals {
    int32_t lFiles = 0, lFolders = 0, lNotRemoved = 0;
    double dblKBytes = 0;
    int32_t lNamesLeft = 0;  // folders removed that could not be renamed away first
    Totals& operator+=(const Totals& other) {
      lFiles += other.lFiles;
      lFolders += other.lFolders;
      lNotRemoved += other.lNotRemoved;
      dblKBytes += other.dblKBytes;
      lNamesLeft += other.lNamesLeft;
      return *this;
    }
  } totals;
  // Items of a run over several that lie inside another chosen map, by their resolved paths:
  // erased on their own turn, they are passed over when that map's walk meets them again.
  std::set<std::string> asErasedOnTheirOwn;
};

}  // namespace tarnwipe
