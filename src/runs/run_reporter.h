// What a run tells while it goes: the engine's file events and the run's own. One listener
// turns them into the program's texts, touches the window and lets it breathe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/erase_reporter.h"
#include "runs/protection.h"
#include "runs/free_space_run_totals.h"
#include "runs/run_totals.h"

namespace tarnwipe {

class RunReporter : public EraseReporter {
 public:
  // A run begins erasing sWhat ("map photos", "file a.txt", "3 items"). A walk (bWalk) starts
  // on an empty message area and can be stopped by Esc.
  virtual void RunStarted(const std::string& sWhat, bool bWalk) = 0;

  // A folder of a walk was entered (said once when the same folder comes again, in this run or
  // the next), could not be read, or lies on another file system and was passed by.
  virtual void FolderEntered(const std::string& sFolder) = 0;
  virtual void FolderUnreadable(const std::string& sFolder) = 0;
  virtual void FolderSkipped(const std::string& sFolder) = 0;

  // What the run erases under sStored (a file's path, or a folder's ending in the separator) is
  // shown to the user as sShown for the rest of the run: a trashed item by where it came from.
  virtual void ShowAs(const std::string& sStored, const std::string& sShown) = 0;

  // A Trash folder was passed by, for the reason sWhy.
  virtual void TrashSkipped(const std::string& sFolder, const std::string& sWhy) = 0;

  // A limit of the walk left lFiles matching files, or lFolders subfolders, of sFolder unlisted.
  virtual void LeftOver(const std::string& sFolder, int32_t lFiles, int32_t lFolders) = 0;

  // The walk met the program's own folder: the run stands aside from here on.
  virtual void Blocked() = 0;

  // An item of a run over several is gone or no longer what it was chosen as, or refused.
  virtual void ItemMissing(const std::string& sPath) = 0;
  virtual void ItemRefused(Refusal eRefusal, const std::string& sPath) = 0;

  // The run over one file is over, as the engine's outcome says; sOldCopies names its file
  // system where that keeps old copies.
  virtual void FileRunEnded(const FileOutcome& outcome, const std::string& sOldCopies) = 0;

  // A free-space run is over, as its totals say.
  virtual void FreeSpaceEnded(const FreeSpaceTotals& totals) = 0;

  // A walk or a run over several is over, with its totals and one warning per file system in
  // asOldCopies.
  virtual void RunEnded(const RunTotals& totals, const std::vector<std::string>& asOldCopies) = 0;
};

}  // namespace tarnwipe
