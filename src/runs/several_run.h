// A run over a selection of several files and maps: one question, one run, one closing line.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "runs/folder_run.h"
#include "runs/run_services.h"
#include "runs/target.h"

namespace tarnwipe {

class SeveralRun {
 public:
  // Questions name at most this many items; the rest are counted.
  static constexpr size_t kNamedInQuestion = 10;

  SeveralRun(RunServices services, FolderRun& folderRun) : m_s(services), m_folderRun(folderRun) {}

  // Checks every item of the record's selection against the protected places (a refused item
  // gets its notice, naming it, and nothing is erased), asks once, then erases the files one by
  // one and walks each map with the pattern list. Esc stops before the next file, whichever
  // item it belongs to. An item that lies inside another chosen map is erased once, on its own
  // turn; an item gone by its turn gets one line, and the run goes on.
  void Run();

 private:
  // The protection rule an item breaks, by its path and, once its folder is held, by identity;
  // heldChecks keeps the identity check of each folder met.
  Refusal Check(const Target& item, std::map<std::string, Refusal>& heldChecks) const;

  // Erases one item whose folder sFolder (the map itself for a map) is held (bHeld) and was
  // found by identity to be eHeld, adding what it erased to the run's totals.
  void EraseItem(const Target& item, const std::string& sFolder, bool bHeld, Refusal eHeld);

  RunServices m_s;
  FolderRun& m_folderRun;
};

// "8 items".
std::string ItemCount(size_t lItems);

// One item in its turn: its path resolved, and whether it lies inside another chosen map.
struct Turn {
  Target item;
  std::string sResolved;
  bool bInsideChosenMap = false;
};

// The items in the order they are erased: an item inside a chosen map comes before that map, so
// that it is erased whether or not the pattern list takes it; otherwise the order is the
// user's. An item chosen twice (under any path) is kept once.
std::vector<Turn> InTurn(const std::vector<Target>& items, const FileSystem& fs);

}  // namespace tarnwipe
