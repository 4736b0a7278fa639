// The run over this user's Trash (on Windows the Recycle Bin) on every disk: every trashed item
// and its record of where it came from, erased as the items of a run over several.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runs/run.h"
#include "runs/several_run.h"
#include "runs/target.h"

namespace tarnwipe {

class TrashRun : public Run {
 public:
  explicit TrashRun(RunParts parts);

  // Finds the Trash folders with items in them and holds what to erase; an empty Trash gets a
  // notice, and a protected item keeps the whole run from starting.
  std::string Check() override;
  std::string Question() const override;
  // Says which Trash folders were passed by and why, erases every item and record, then
  // overwrites the removed names in the Trash folders, which stay so that the Trash keeps working.
  void Execute() override;
  void Summary() override;
  bool Blocked() const override { return m_pItems && m_pItems->Blocked(); }

  // "the Trash" or "the Recycle Bin".
  static std::string TrashName(const TrashFacts& facts);

 private:
  // The folders this user's Trash may lie in, each ending in the separator, with the top folder
  // of the disk they are on (none for the home Trash).
  std::vector<std::pair<std::string, std::string>> Candidates();
  // Notes the folders of other users in the Trash folder sShared that all users share: they are
  // left alone, and said so.
  void NoteOtherUsers(const std::string& sShared);
  // Adds the items and records of the Trash folder sFolder on the disk whose top folder is sTop
  // (none for the home Trash); false when it holds none.
  bool Collect(const std::string& sFolder, const std::string& sTop);
  // A trashed item's entry in sFolder, a folder erased as a map and anything else as a file.
  void AddItem(const std::string& sFolder, const FolderEntry& entry, bool bCounted);
  // Notes what the record sRecord says of its item sItem (stored in the Trash): where it came
  // from, so that both are shown by that, and that folder's freed entries overwritten.
  void AddOrigin(const std::string& sRecord, const std::string& sItem, const std::string& sOrigin);
  // The bytes of the files below the map sMap, counted to a limit of levels.
  int64_t MapBytes(const std::string& sMap, int iLevels) const;

  RunParts m_parts;
  TrashFacts m_facts;
  std::vector<std::string> m_asFolders;  // Trash folders with items: files/, info/ and expunged/, or the bin
  std::vector<std::pair<std::string, std::string>> m_skipped;  // a Trash folder passed by, and why
  std::vector<Target> m_items;
  std::vector<std::string> m_asOrigins;  // the folders the items were trashed from
  std::vector<std::pair<std::string, std::string>> m_shown;  // a stored path, and what it is shown as
  size_t m_lTrashed = 0;  // the items the user put in the Trash; their records are not counted
  int m_iDisks = 0;
  int64_t m_lBytes = 0;
  std::unique_ptr<SeveralRun> m_pItems;
};

}  // namespace tarnwipe
