// The main window's logic: load, keyboard rules, target selection and the read-me.
#include "window/frm_erase.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "runs/free_space_run.h"
#include "runs/run_choice.h"
#include "runs/trash_run.h"
#include "runs/several_run.h"
#include "paths/disk_paths.h"
#include "window/form_operations.h"
#include "window/read_me.h"

namespace tarnwipe {
namespace {

const char kNotFound[] = "File or map not found!";

// The pass count from its text box: digits only, otherwise -1, for which nothing is erased.
int32_t ParsePassCount(const std::string& sText) {
  int32_t lCount = -1;
  const auto result = std::from_chars(sText.data(), sText.data() + sText.size(), lCount);
  const bool bNumber = !sText.empty() && result.ec == std::errc() && result.ptr == sText.data() + sText.size();
  return bNumber && lCount >= 0 ? lCount : -1;
}
const char kUnnamable[] =
    "The dialog cannot name this file faithfully: its name is not valid text. Select the map that holds it instead!";

}  // namespace

FrmErase::FrmErase(FormView& view, FileSystem& fs, Clock& clock, Dialogs& dialogs, const SpecialFolders& folders,
                   Separators seps)
    : m_view(view),
      m_fs(fs),
      m_clock(clock),
      m_seps(std::move(seps)),
      m_mErase(dialogs, folders, fs),
      m_folders(folders),
      m_protection(fs, folders),
      m_reporter(view, clock, m_seps, m_mErase) {}

void FrmErase::Form_Load() {
  ClearRunState();
  m_view.SetEraseEnabled(false);
  SetTitle("");
  m_view.ClearMessages();
  // A free-space run stopped by force may have left fillers with names (on FUSE disks): the disk
  // stays full until they go.
  for (const std::string& sWork : FreeSpaceRun::RemoveLeftovers(m_fs, m_folders.Trash().asTops))
    m_view.PrependMessage("Removed what a stopped free-space run left: " + sWork);
}

void FrmErase::Form_KeyPress(int16_t& KeyAscii) {
  // Once asked during a run, the stop holds: a key pressed after Esc must not erase on.
  if (KeyAscii != kKeyEscape) {
    if (!Running()) m_bStop = false;
    return;
  }
  if (Running() && !m_bStop) m_reporter.Stopping();
  m_bStop = true;
}

void FrmErase::txtTimes_KeyPress(int16_t& KeyAscii) {
  const bool bDigit = KeyAscii >= '0' && KeyAscii <= '9';
  if (!bDigit && KeyAscii != kKeyBackspace) KeyAscii = 0;
}

void FrmErase::txtTimes_KeyUp() {
  int iValue = 0;
  for (const char c : m_view.TimesText()) {
    if (c < '0' || c > '9') break;
    iValue = iValue * 10 + (c - '0');
    if (iValue > kMaxTimes) break;
  }
  if (iValue > kMaxTimes) m_view.SetTimesText(std::to_string(kMaxTimes));
}

void FrmErase::btnFile_Click() {
  if (Running()) return;
  SetEraseCaption("&Erase file ", false);
  m_eChoosing = TargetKind::kFile;
  m_selection.clear();
  std::vector<std::string> asChosen = m_mErase.GetNameFile();
  const size_t lUnnamable = std::erase(asChosen, Dialogs::Unnamable());
  if (asChosen.size() > 1) {
    std::vector<Target> targets;
    for (const std::string& sPath : asChosen) targets.push_back({sPath, TargetKind::kFile});
    Select(targets, false);
  } else {
    if (!asChosen.empty()) m_selection = {{asChosen.front(), TargetKind::kFile}};
    ShowChosen();
  }
  if (lUnnamable > 0) m_mErase.ShowNotice(kUnnamable);
}

void FrmErase::btnMap_Click() {
  if (Running()) return;
  m_eChoosing = TargetKind::kMap;
  m_selection.clear();
  SetEraseCaption("&Erase map ", false);
  m_view.SetEraseEnabled(false);
  std::string sTitle = "Select a map to erase";
  const std::string sChosen = m_mErase.GetNameFolder(sTitle, 1);
  const bool bUnnamable = sChosen == Dialogs::Unnamable();
  if (!bUnnamable && !sChosen.empty()) m_selection = {{sChosen, TargetKind::kMap}};
  ShowChosen();
  if (bUnnamable) m_mErase.ShowNotice(kUnnamable);
}

void FrmErase::btnDeleted_Click() {
  const std::string sTrash = m_folders.Trash().bRecycleBin ? "The &Recycle Bin" : "&The Trash";
  const int iChosen = m_mErase.ChooseFromMenu({sTrash, "&Free space of a disk ..."});
  if (iChosen == 0) Select({{kTrashItem, TargetKind::kTrash}});
  if (iChosen == 1) ChooseFreeSpaceDisk();
}

void FrmErase::ChooseFreeSpaceDisk() {
  std::string sTitle = "Select a folder on the disk whose free space is to be erased";
  const std::string sChosen = m_mErase.GetNameFolder(sTitle, 1);
  if (!sChosen.empty() && sChosen != Dialogs::Unnamable()) Select({{sChosen, TargetKind::kFreeSpace}});
}

void FrmErase::TakeTargets(const std::vector<std::string>& asPaths) {
  if (Running()) return;
  Take(asPaths, false, false);
}

void FrmErase::HandOff(const std::vector<std::string>& asPaths) {
  if (Running()) {
    for (const std::string& sPath : asPaths) {
      m_asKept.push_back(sPath);
      m_view.PrependMessage("Not part of this run; chosen when it is over: " + sPath);
    }
    return;
  }
  const double dblNow = m_clock.Monotonic();
  const bool bJoin = m_dblLastHandOff >= 0 && dblNow - m_dblLastHandOff < kBurstSeconds;
  m_dblLastHandOff = dblNow;
  Take(asPaths, bJoin, false);
}

std::string FrmErase::CheckInput() const {
  if (m_view.TimesText().empty()) return "Number of times not set!";
  if (m_selection.empty()) return m_eChoosing == TargetKind::kMap ? "No folder selected!" : "No file selected!";
  return {};
}

void FrmErase::btnErase_Click() {
  if (Running()) return;
  if (const std::string sNotice = CheckInput(); !sNotice.empty()) {
    m_mErase.ShowNotice(sNotice);
    return;
  }
  const RunParts parts{m_fs, m_reporter, m_protection, m_folders, m_seps, m_bStop, m_bBlocked, ParsePassCount(m_view.TimesText()),
                       m_view.SpecText()};
  m_pRun = ChooseRun(m_selection, parts);
  if (const std::string sNotice = m_pRun->Check(); !sNotice.empty()) {
    m_pRun.reset();
    m_mErase.ShowNotice(sNotice);
    return;
  }
  m_view.SetBusyPointer(true);
  m_bStop = false;
  m_view.SetSelectEnabled(false);
  m_view.SetEraseEnabled(false);
  if (m_mErase.AskConfirm(m_pRun->Question()) == kAnswerYes) {
    m_pRun->Execute();
    m_pRun->Summary();
    m_bBlocked = m_pRun->Blocked();
    // What was erased, or kept and said so, is chosen no longer.
    m_selection.clear();
  }
  m_pRun.reset();
  m_view.SetEraseEnabled(false);
  SetTitle("");
  m_view.SetBusyPointer(false);
  m_view.SetSelectEnabled(true);
  // What was handed over meanwhile is chosen now, above the run's report.
  if (m_asKept.empty()) return;
  Take(std::exchange(m_asKept, {}), false, true);
  m_view.PrependMessage("Handed over during the run: not part of it, and chosen now.");
}

void FrmErase::Take(const std::vector<std::string>& asPaths, bool bJoin, bool bKeepMessages) {
  // The Trash, or a disk's free space, goes alone: what else was handed over with it is not taken.
  for (const std::string& sPath : asPaths) {
    if (sPath == kTrashItem) {
      Select({{kTrashItem, TargetKind::kTrash}}, bKeepMessages);
      return;
    }
    if (sPath.starts_with(kFreeSpaceItem)) {
      const std::string sFolder = sPath.substr(std::string_view(kFreeSpaceItem).size());
      if (sFolder.empty()) {
        ChooseFreeSpaceDisk();
        return;
      }
      if (!paths::IsFolder(m_fs, sFolder)) {
        m_mErase.ShowNotice(kNotFound + ("\r\n\r\n" + sFolder));
        return;
      }
      Select({{paths::AsFolder(sFolder), TargetKind::kFreeSpace}}, bKeepMessages);
      return;
    }
  }
  std::vector<Target> targets = bJoin ? m_selection : std::vector<Target>();
  std::string sMissing;
  for (const std::string& sPath : asPaths) {
    if (!paths::IsAbsolute(sPath) || m_fs.GetAttributes(sPath) == -1) {
      sMissing += "\r\n" + sPath;
      continue;
    }
    const bool bMap = paths::IsFolder(m_fs, sPath);
    const Target target{bMap ? paths::AsFolder(sPath) : sPath, bMap ? TargetKind::kMap : TargetKind::kFile};
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
  }
  if (!targets.empty()) Select(targets, bKeepMessages);
  if (!sMissing.empty()) m_mErase.ShowNotice(kNotFound + ("\r\n" + sMissing));
}

void FrmErase::Select(const std::vector<Target>& targets, bool bKeepMessages) {
  m_selection = targets;
  if (targets.size() == 1 && targets.front().eKind == TargetKind::kTrash) {
    SetEraseCaption("&Erase " + TrashRun::TrashName(m_folders.Trash()), false);
    tarnwipe::ResetForTarget(m_view, kTrashItem, bKeepMessages);
    return;
  }
  if (targets.size() == 1 && targets.front().eKind == TargetKind::kFreeSpace) {
    DiskSpace space;
    m_fs.SpaceOf(targets.front().sPath, space);
    SetEraseCaption("&Erase free space of " + (space.sTop.empty() ? targets.front().sPath : space.sTop), false);
    tarnwipe::ResetForTarget(m_view, targets.front().sPath, bKeepMessages);
    return;
  }
  if (targets.size() == 1) {
    m_eChoosing = targets.front().eKind;
    SetEraseCaption(targets.front().IsMap() ? "&Erase map " : "&Erase file ", false);
    ShowChosen(bKeepMessages);
    return;
  }
  SetEraseCaption("&Erase " + ItemCount(targets.size()), false);
  tarnwipe::ResetForTarget(m_view, ItemCount(targets.size()), bKeepMessages);
  std::string sList;
  for (const Target& target : targets) sList += (sList.empty() ? "" : "\r\n") + std::string(target.IsMap() ? "Map: " : "File: ") + target.sPath;
  m_view.PrependMessage(sList);
}

void FrmErase::ShowChosen(bool bKeepMessages) {
  const Target target = m_selection.empty() ? Target{} : m_selection.front();
  const std::string sName = target.IsMap() ? paths::ExtractFolder(m_fs, target.sPath) : paths::ExtractName(m_fs, target.sPath);
  SetEraseCaption(sName, true);
  tarnwipe::ResetForTarget(m_view, sName, bKeepMessages);
}

void FrmErase::btnInfo_Click() {
  // The message area is the run's only record of what could not be erased.
  if (Running()) return;
  m_view.ClearMessages();
  for (const std::string& sBlock : ReadMeBlocks()) m_view.AppendMessageText(sBlock);
}

bool FrmErase::Form_QueryUnload() {
  if (!Running()) return true;
  m_bStop = true;
  m_bCloseRequested = true;
  return false;
}

void FrmErase::SetTitle(const std::string& sText) { tarnwipe::SetTitle(m_view, sText); }

void FrmErase::SetEraseCaption(const std::string& sText, bool bAppend) {
  tarnwipe::SetEraseCaption(m_view, sText, bAppend);
}

void FrmErase::ResetForTarget(const std::string& sName) { tarnwipe::ResetForTarget(m_view, sName); }

void FrmErase::ClearRunState() {
  m_selection.clear();
  m_eChoosing = TargetKind::kFile;
  m_bBlocked = false;
  m_bCloseRequested = false;
  m_reporter.Reset();
}

}  // namespace tarnwipe
