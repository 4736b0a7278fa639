// What one run erased, removed and kept, added up as it goes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/file_outcome.h"

namespace tarnwipe {

struct RunTotals {
  int32_t lFiles = 0;             // files erased
  int32_t lFolders = 0;           // folders removed
  int32_t lNotRemoved = 0;        // folders that could not be removed
  int32_t lNamesLeft = 0;         // folders removed that could not be renamed away first
  int32_t lUnread = 0;            // folders whose entries could not be read: what they hold stays
  double dblKBytes = 0;           // the erased files' lengths, as chosen
  double dblWrittenKBytes = 0;    // what the passes wrote of them: holes are not written
  std::map<std::string, int32_t> keptReasons;  // files kept, counted by the reason they were kept

  // Counts a file the engine was given: erased, or kept for its reason.
  void Add(const FileOutcome& outcome);
  // Counts lFiles files a walk left unlisted: they are kept.
  void AddLeft(int32_t lFiles);
  RunTotals& operator+=(const RunTotals& other);
  // Files kept, whatever the reason.
  int32_t Kept() const;
};

}  // namespace tarnwipe
