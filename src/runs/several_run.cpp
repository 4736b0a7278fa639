// The run over several items. Each item is held and checked again on its own turn, so that what
// the question named is what is erased.
#include "runs/several_run.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "runs/confinement.h"
#include "runs/map_run.h"
#include "runs/old_copies.h"
#include "paths/disk_paths.h"

namespace tarnwipe {

std::string ItemCount(size_t lItems) { return std::to_string(lItems) + " items"; }

SeveralRun::SeveralRun(RunParts parts, const std::vector<Target>& items)
    : m_parts(std::move(parts)), m_turns(InTurn(items, m_parts.fs)), m_bBlocked(m_parts.bBlocked) {}

std::vector<SeveralRun::Turn> SeveralRun::InTurn(const std::vector<Target>& items, const FileSystem& fs) {
  std::vector<Turn> unique;
  for (const Target& item : items) {
    std::string sResolved = fs.CanonicalPath(item.sPath);
    if (item.IsMap()) sResolved = paths::AsFolder(sResolved);
    const auto same = [&](const Turn& turn) { return turn.sResolved == sResolved; };
    if (std::none_of(unique.begin(), unique.end(), same)) unique.push_back({item, sResolved});
  }
  // How many of the other chosen maps each item lies in.
  std::vector<size_t> nesting(unique.size(), 0);
  for (size_t i = 0; i < unique.size(); ++i) {
    for (const Turn& other : unique) {
      if (other.item.IsMap() && other.sResolved != unique[i].sResolved && paths::LiesIn(unique[i].sResolved, other.sResolved))
        ++nesting[i];
    }
    unique[i].bInsideChosenMap = nesting[i] > 0;
  }
  std::vector<size_t> order(unique.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return nesting[a] > nesting[b]; });
  std::vector<Turn> inTurn;
  for (const size_t i : order) inTurn.push_back(unique[i]);
  return inTurn;
}

std::string SeveralRun::Check() {
  // Items in one folder share its identity check.
  std::map<std::string, Refusal> heldChecks;
  for (const Turn& turn : m_turns) {
    Refusal eRefusal = m_parts.protection.CheckTarget(turn.item.sPath);
    if (eRefusal == Refusal::kNone) {
      const std::string sFolder = paths::ExtractPath(m_parts.fs, turn.item.sPath);
      if (const auto known = heldChecks.find(sFolder); known != heldChecks.end()) {
        eRefusal = known->second;
      } else {
        const Confinement held(m_parts.fs, sFolder);
        eRefusal = heldChecks[sFolder] = held.Held() ? m_parts.protection.CheckHeld(turn.item.IsMap()) : Refusal::kNone;
      }
    }
    if (eRefusal != Refusal::kNone) return RefusalNotice(eRefusal) + "\r\n\r\n" + turn.item.sPath;
  }
  for (const Turn& turn : m_turns) {
    const std::string sFileSystem = m_parts.fs.FileSystemKeepingCopies(turn.item.sPath);
    if (!sFileSystem.empty() && std::find(m_asOldCopies.begin(), m_asOldCopies.end(), sFileSystem) == m_asOldCopies.end())
      m_asOldCopies.push_back(sFileSystem);
  }
  return {};
}

std::string SeveralRun::Question() const {
  std::string sQuestion = "Are You sure You want to erase " + ItemCount(m_turns.size()) + "?\r\n\r\n";
  for (size_t i = 0; i < m_turns.size() && i < kNamedInQuestion; ++i) sQuestion += m_turns[i].item.sPath + "\r\n";
  if (m_turns.size() > kNamedInQuestion) sQuestion += "and " + std::to_string(m_turns.size() - kNamedInQuestion) + " more\r\n";
  for (const std::string& sFileSystem : m_asOldCopies) sQuestion += "\r\n" + OldCopiesNote(sFileSystem) + "\r\n";
  return sQuestion + "\r\n(" + kStopHint + ")";
}

void SeveralRun::Execute() {
  m_parts.reporter.RunStarted(ItemCount(m_turns.size()), true);
  for (const Turn& turn : m_turns) {
    if (turn.bInsideChosenMap) m_asErasedOnTheirOwn.insert(turn.sResolved);
  }
  // A folder is held from an item's turn until an item in another folder comes: consecutive
  // items in one folder are reached through the one hold, checked once.
  std::optional<Confinement> held;
  std::string sHeld;
  Refusal eHeld = Refusal::kNone;
  for (const Turn& turn : m_turns) {
    if (m_parts.bStop || m_bBlocked) break;
    const std::string sFolder = paths::ExtractPath(m_parts.fs, turn.item.sPath);
    if (!held || sFolder != sHeld || turn.item.IsMap()) {
      // The files of the folder held so far are erased while it is still held.
      m_batch.Erase();
      if (m_parts.bStop) break;
      held.reset();
      held.emplace(m_parts.fs, sFolder);
      sHeld = sFolder;
      eHeld = held->Held() ? m_parts.protection.CheckHeld(turn.item.IsMap()) : Refusal::kNone;
    }
    EraseItem(turn.item, sFolder, held->Held(), eHeld);
  }
  m_batch.Erase();
}

void SeveralRun::Summary() {
  // As in a walk that met the program's own folder: nothing more is said.
  if (!m_bBlocked) m_parts.reporter.RunEnded(m_totals, m_asOldCopies);
}

void SeveralRun::FillStayingFolder(const std::string& sFolder) {
  const Confinement held(m_parts.fs, sFolder);
  if (held.Held()) m_removal.FillFolder(m_parts.fs, sFolder);
}

void SeveralRun::EraseItem(const Target& item, const std::string& sFolder, bool bHeld, Refusal eHeld) {
  FileSystem& fs = m_parts.fs;
  // An item is erased as what it was chosen as; one that is gone, or is now something else, is
  // said to be so.
  const bool bStill = item.IsMap() == paths::IsFolder(fs, item.sPath) && fs.GetAttributes(item.sPath) != -1;
  if (!bStill || !bHeld) {
    m_parts.reporter.ItemMissing(item.sPath);
    return;
  }
  if (eHeld != Refusal::kNone) {
    m_parts.reporter.ItemRefused(eHeld, item.sPath);
    return;
  }
  if (item.IsMap()) {
    RunParts parts = m_parts;
    parts.bBlocked = m_bBlocked;
    MapRun map(parts, sFolder, &m_asErasedOnTheirOwn);
    map.Walk();
    m_totals += map.Totals();
    m_bBlocked = map.Blocked();
    return;
  }
  m_batch.Add(item.sPath);
}

}  // namespace tarnwipe
