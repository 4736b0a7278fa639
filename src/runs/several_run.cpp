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

namespace {

// The folder an item is reached through: a map's own, a file's folder.
std::string FolderOf(const Target& item) { return item.IsMap() ? paths::AsFolder(item.sPath) : paths::FolderPart(item.sPath); }

}  // namespace

std::vector<SeveralRun::Turn> SeveralRun::InTurn(const std::vector<Target>& items, const FileSystem& fs) {
  std::vector<Turn> unique;
  // A file is told by its folder's resolved path and its own name: a link chosen beside what it
  // leads to is an item of its own, removed as a link.
  std::map<std::string, std::string> resolvedFolders;
  for (const Target& item : items) {
    const std::string sFolder = FolderOf(item);
    auto resolved = resolvedFolders.find(sFolder);
    if (resolved == resolvedFolders.end()) resolved = resolvedFolders.emplace(sFolder, paths::AsFolder(fs.CanonicalPath(sFolder))).first;
    const std::string sResolved = item.IsMap() ? resolved->second : resolved->second + paths::LastName(item.sPath);
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
  // Files in one folder share its checks: by their folder's path, as a map is checked by its own
  // (a file may lie in the root, which is no map), and by its identity. A file that is a link is
  // removed as a link, whatever it leads to.
  std::map<std::string, Refusal> pathChecks, heldChecks;
  for (const Turn& turn : m_turns) {
    const std::string sFolder = FolderOf(turn.item);
    auto checked = pathChecks.find(sFolder);
    if (checked == pathChecks.end() || turn.item.IsMap()) {
      checked = pathChecks.insert_or_assign(sFolder, m_parts.protection.CheckTarget(turn.item.IsMap() ? turn.item.sPath : sFolder)).first;
    }
    Refusal eRefusal = checked->second;
    if (eRefusal == Refusal::kRoot && !turn.item.IsMap()) eRefusal = Refusal::kNone;
    if (eRefusal == Refusal::kNone) {
      if (const auto known = heldChecks.find(sFolder); known != heldChecks.end()) {
        eRefusal = known->second;
      } else {
        const Confinement held(m_parts.fs, sFolder);
        eRefusal = heldChecks[sFolder] = held.Held() ? m_parts.protection.CheckHeld(turn.item.IsMap()) : Refusal::kNone;
      }
    }
    if (eRefusal != Refusal::kNone) return RefusalNotice(eRefusal) + "\r\n\r\n" + turn.item.sPath;
  }
  // The files of one folder lie on one file system.
  std::set<std::string> asAsked;
  for (const Turn& turn : m_turns) {
    if (!asAsked.insert(FolderOf(turn.item)).second) continue;
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
    const std::string sFolder = FolderOf(turn.item);
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
  held.reset();
  if (m_bBlocked) return;
  // The folders the items were removed from stay: what their entry areas still hold of the
  // removed names is overwritten.
  std::set<std::string> asLeft;
  for (const Turn& turn : m_turns) {
    if (!turn.bInsideChosenMap) asLeft.insert(paths::FolderPart(paths::WithoutSeparator(turn.item.sPath)));
  }
  for (const std::string& sFolder : asLeft) {
    if (paths::IsFolder(m_parts.fs, sFolder)) FillStayingFolder(sFolder);
  }
}

void SeveralRun::Summary() {
  // As in a walk that met the program's own folder: nothing more is said.
  if (!m_bBlocked) m_parts.reporter.RunEnded(m_totals, m_asOldCopies);
}

void SeveralRun::FillStayingFolder(const std::string& sFolder) { tarnwipe::FillStayingFolder(m_parts.fs, m_removal, sFolder); }

void SeveralRun::EraseItem(const Target& item, const std::string& sFolder, bool bHeld, Refusal eHeld) {
  FileSystem& fs = m_parts.fs;
  // An item is erased as what it was chosen as; one that is gone, or is now something else, is
  // said to be so.
  const int32_t lAttributes = fs.GetAttributes(item.sPath);
  const bool bStill = lAttributes != -1 && item.IsMap() == ((lAttributes & kAttrDirectory) != 0);
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
