// What a free-space run reached, and what not.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace tarnwipe {

// How a free-space run ended.
struct FreeSpaceTotals {
  std::string sDisk;               // the disk's top folder
  int64_t lFree = 0;               // bytes free when the run began, the administrator's reserve included
  int64_t lFilled = 0;             // bytes of free space every pass overwrote
  std::error_code ec;              // the first write or flush that failed; none when all landed
  bool bStopped = false;           // the user stopped it
  int32_t lFolders = 0;            // folders whose freed entries were overwritten
  int32_t lFoldersNotFilled = 0;   // folders whose freed entries could not be overwritten
  int64_t lJournal = 0;            // bytes of the journal keeping older copies of records; 0 where none is known
  int64_t lJournalTurned = 0;      // bytes of new records the journal logged after the run, at most lJournal
  bool bKeepsUncounted = false;    // the file system keeps free space back that it does not count as free
  std::string sOldCopies;          // the file system, when it keeps old copies
};

}  // namespace tarnwipe
