// A run over a selection of several files and maps: one question, one run, one closing line.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/name_removal.h"
#include "runs/file_batch.h"
#include "runs/run.h"
#include "runs/target.h"

namespace tarnwipe {

class SeveralRun : public Run {
 public:
  // Questions name at most this many items; the rest are counted.
  static constexpr size_t kNamedInQuestion = 10;

  SeveralRun(RunParts parts, const std::vector<Target>& items);

  // Checks every item against the protected places: a refused item gets its notice, naming it,
  // and nothing is erased.
  std::string Check() override;
  std::string Question() const override;
  // Erases the files one by one and walks each map with the pattern list. Esc stops before the
  // next file, whichever item it belongs to. An item that lies inside another chosen map is
  // erased once, on its own turn; an item gone by its turn gets one line, and the run goes on.
  void Execute() override;
  void Summary() override;
  bool Blocked() const override { return m_bBlocked; }

  // Overwrites the names removed from sFolder, which stays, where its file system keeps them.
  void FillStayingFolder(const std::string& sFolder);

 private:
  // Erases one item whose folder sFolder (the map itself for a map) is held (bHeld) and was
  // found by identity to be eHeld.
  void EraseItem(const Target& item, const std::string& sFolder, bool bHeld, Refusal eHeld);

  // One item in its turn: its path resolved, and whether it lies inside another chosen map.
  struct Turn {
    Target item;
    std::string sResolved;
    bool bInsideChosenMap = false;
  };
  // The items in the order they are erased: an item inside a chosen map comes before that map,
  // so that it is erased whether or not the pattern list takes it; otherwise the order is the
  // user's. An item chosen twice (under any path) is kept once.
  static std::vector<Turn> InTurn(const std::vector<Target>& items, const FileSystem& fs);

  RunParts m_parts;
  NameRemoval m_removal;
  std::vector<Turn> m_turns;
  std::vector<std::string> m_asOldCopies;  // each file system of the items that keeps old copies
  std::set<std::string> m_asErasedOnTheirOwn;
  bool m_bBlocked;
  RunTotals m_totals;
  // The file items of the folder held now, erased before another folder is held.
  FileBatch m_batch{m_parts, m_removal, m_totals};
};

// "8 items".
std::string ItemCount(size_t lItems);

}  // namespace tarnwipe
