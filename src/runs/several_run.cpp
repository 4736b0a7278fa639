// The run over several items. Each item is held and checked again on its own turn, so that what
// the question named is what is erased.
#include "runs/several_run.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

#include "runs/confinement.h"
#include "runs/form_operations.h"
#include "runs/old_copies.h"
#include "walker/path_helpers.h"

namespace tarnwipe {
namespace {


}  // namespace

std::string ItemCount(size_t lItems) { return std::to_string(lItems) + " items"; }

std::vector<Turn> InTurn(const std::vector<Target>& items, const FileSystem& fs) {
  std::vector<Turn> unique;
  for (const Target& item : items) {
    std::string sResolved = fs.CanonicalPath(item.sPath);
    if (item.bMap) sResolved = paths::AsFolder(sResolved);
    const auto same = [&](const Turn& turn) { return turn.sResolved == sResolved; };
    if (std::none_of(unique.begin(), unique.end(), same)) unique.push_back({item, sResolved});
  }
  // How many of the other chosen maps each item lies in.
  std::vector<size_t> nesting(unique.size(), 0);
  for (size_t i = 0; i < unique.size(); ++i) {
    for (const Turn& other : unique) {
      if (other.item.bMap && other.sResolved != unique[i].sResolved && paths::LiesIn(unique[i].sResolved, other.sResolved))
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

Refusal SeveralRun::Check(const Target& item, std::map<std::string, Refusal>& heldChecks) const {
  if (const Refusal eRefusal = m_s.protection.CheckTarget(item.sPath); eRefusal != Refusal::kNone) return eRefusal;
  // Items in one folder share its identity check.
  const std::string sFolder = m_s.dd.ExtractPath(item.sPath);
  const auto known = heldChecks.find(sFolder);
  if (known != heldChecks.end()) return known->second;
  const Confinement held(m_s.fs, sFolder);
  return heldChecks[sFolder] = held.Held() ? m_s.protection.CheckHeld(item.bMap) : Refusal::kNone;
}

void SeveralRun::Run() {
  RunRecord& r = m_s.record;
  const std::vector<Turn> turns = InTurn(r.several, m_s.fs);
  std::map<std::string, Refusal> heldChecks;
  for (const Turn& turn : turns) {
    if (const Refusal eRefusal = Check(turn.item, heldChecks); eRefusal != Refusal::kNone) {
      m_s.mErase.ShowNotice(RefusalNotice(eRefusal) + "\r\n\r\n" + turn.item.sPath);
      return;
    }
  }

  std::vector<std::string> asOldCopies;
  std::string sQuestion = "Are You sure You want to erase " + ItemCount(turns.size()) + "?\r\n\r\n";
  for (size_t i = 0; i < turns.size(); ++i) {
    if (i < kNamedInQuestion) sQuestion += turns[i].item.sPath + "\r\n";
    const std::string sFileSystem = m_s.fs.FileSystemKeepingCopies(turns[i].item.sPath);
    if (!sFileSystem.empty() && std::find(asOldCopies.begin(), asOldCopies.end(), sFileSystem) == asOldCopies.end())
      asOldCopies.push_back(sFileSystem);
  }
  if (turns.size() > kNamedInQuestion) sQuestion += "and " + std::to_string(turns.size() - kNamedInQuestion) + " more\r\n";
  for (const std::string& sFileSystem : asOldCopies) sQuestion += "\r\n" + OldCopiesNote(sFileSystem) + "\r\n";
  if (m_s.mErase.AskConfirm(sQuestion + "\r\n(" + kStopHint + ")") != kAnswerYes) return;

  SetRunTitle(m_s.view, m_s.eraser.Progress(), kStopHint);
  m_s.dd.SetPattern(m_s.view.SpecText());
  m_s.dd.SetAttributeMask(kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  m_s.view.ClearMessages();
  SetEraseCaption(m_s.view, "&Erasing " + ItemCount(turns.size()), false);
  r.totals = {};
  r.asErasedOnTheirOwn.clear();
  for (const Turn& turn : turns) {
    if (turn.bInsideChosenMap) r.asErasedOnTheirOwn.insert(turn.sResolved);
  }
  r.bSeveral = true;
  r.sngStart = m_s.clock.TimeOfDay();
  // A folder is held from an item's turn until an item in another folder comes: consecutive
  // items in one folder are reached through the one hold, checked once.
  std::optional<Confinement> held;
  std::string sHeld;
  Refusal eHeld = Refusal::kNone;
  for (const Turn& turn : turns) {
    if (r.bStop || r.bBlocked) break;
    const std::string sFolder = m_s.dd.ExtractPath(turn.item.sPath);
    if (!held || sFolder != sHeld || turn.item.bMap) {
      held.reset();
      held.emplace(m_s.fs, sFolder);
      sHeld = sFolder;
      eHeld = held->Held() ? m_s.protection.CheckHeld(turn.item.bMap) : Refusal::kNone;
    }
    EraseItem(turn.item, sFolder, held->Held(), eHeld);
  }
  held.reset();
  r.bSeveral = false;
  r.asErasedOnTheirOwn.clear();
  // As in a folder run that met the program's own folder: nothing more is said or put back.
  if (r.bBlocked) return;
  m_folderRun.Finish(r.totals, asOldCopies);
}

void SeveralRun::EraseItem(const Target& item, const std::string& sFolder, bool bHeld, Refusal eHeld) {
  RunRecord& r = m_s.record;
  // An item is erased as what it was chosen as; one that is gone, or is now something else, is
  // said to be so.
  const bool bStill = item.bMap == paths::IsFolder(m_s.fs, item.sPath) && m_s.fs.GetAttributes(item.sPath) != -1;
  if (!bStill || !bHeld || (item.bMap && (m_s.dd.SetFolder(sFolder), m_s.dd.Folder() != sFolder))) {
    m_s.eraser.ReportElapsed("File or map not found: " + item.sPath, false);
    return;
  }
  if (eHeld != Refusal::kNone) {
    m_s.eraser.ReportElapsed(RefusalNotice(eHeld) + " " + item.sPath, false);
    return;
  }
  if (item.bMap) {
    r.sRootFolder = sFolder;
    r.lNotRemoved = 0;
    m_s.dd.BeginSearch();
    return;
  }
  const int32_t lAttributes = m_s.fs.GetAttributes(item.sPath);
  int64_t lBytes = std::max<int64_t>(0, m_s.fs.FileLength(item.sPath));
  m_s.eraser.EraseFile(item.sPath, r.lPasses, lBytes, (lAttributes & kAttrLink) != 0);
  m_folderRun.NoteOutcome(lBytes);
  if (lBytes < 0) return;
  ++r.totals.lFiles;
  r.totals.dblKBytes += static_cast<double>(lBytes) / 1024.0;
}

}  // namespace tarnwipe
