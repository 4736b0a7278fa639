// The main window's logic: load, keyboard rules, target selection and the read-me.
#include "window/frm_erase.h"

#include <algorithm>
#include <utility>

#include "runs/form_operations.h"
#include "runs/spec_folders.h"
#include "walker/path_helpers.h"
#include "window/read_me.h"

namespace tarnwipe {
namespace {

const char kNotFound[] = "File or map not found!";
const char kUnnamable[] =
    "The dialog cannot name this file faithfully: its name is not valid text. Select the map that holds it instead!";

}  // namespace

FrmErase::FrmErase(FormView& view, FileSystem& fs, Clock& clock, Dialogs& dialogs, const SpecialFolders& folders,
                   Separators seps)
    : m_view(view),
      m_fs(fs),
      m_clock(clock),
      m_seps(std::move(seps)),
      m_dd(fs, GetApplicationFolder(folders)),
      m_pump(view, clock),
      m_eraser(view, fs, clock, m_pump, m_seps),
      m_mErase(dialogs, folders, fs),
      m_protection(fs, folders),
      m_folderRun({m_record, view, fs, clock, m_pump, m_seps, m_eraser, m_dd, m_mErase, m_protection}),
      m_command({m_record, view, fs, clock, m_pump, m_seps, m_eraser, m_dd, m_mErase, m_protection}, m_folderRun) {
  m_dd.SetEvents(&m_folderRun);
}

void FrmErase::Form_Load() {
  ClearRunState();
  m_view.SetEraseEnabled(false);
  SetTitle("");
  m_view.ClearMessages();
}

void FrmErase::Form_KeyPress(int16_t& KeyAscii) {
  // Once asked during a run, the stop holds: a key pressed after Esc must not erase on.
  if (KeyAscii != kKeyEscape) {
    if (!m_record.bRunning) m_record.bStop = false;
    return;
  }
  if (m_record.bRunning && !m_record.bStop) SetRunTitle(m_view, m_eraser.Progress(), kStopping);
  m_record.bStop = true;
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
  if (m_record.bRunning) return;
  SetEraseCaption("&Erase file ", false);
  m_record.bMap = false;
  m_record.several.clear();
  std::vector<std::string> asChosen = m_mErase.GetNameFile();
  const size_t lUnnamable = std::erase(asChosen, Dialogs::Unnamable());
  if (asChosen.size() > 1) {
    std::vector<Target> targets;
    for (const std::string& sPath : asChosen) targets.push_back({sPath, false});
    Select(targets, false);
  } else {
    m_record.sTarget = asChosen.empty() ? std::string() : asChosen.front();
    ShowChosen();
  }
  if (lUnnamable > 0) m_mErase.ShowNotice(kUnnamable);
}

void FrmErase::btnMap_Click() {
  if (m_record.bRunning) return;
  m_record.bMap = true;
  m_record.several.clear();
  SetEraseCaption("&Erase map ", false);
  m_view.SetEraseEnabled(false);
  std::string sTitle = "Select a map to erase";
  m_record.sTarget = m_mErase.GetNameFolder(sTitle, 1);
  const bool bUnnamable = m_record.sTarget == Dialogs::Unnamable();
  if (bUnnamable) m_record.sTarget.clear();
  ShowChosen();
  if (bUnnamable) m_mErase.ShowNotice(kUnnamable);
}

void FrmErase::TakeTargets(const std::vector<std::string>& asPaths) {
  if (m_record.bRunning) return;
  Take(asPaths, false, false);
}

void FrmErase::HandOff(const std::vector<std::string>& asPaths) {
  if (m_record.bRunning) {
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

void FrmErase::btnErase_Click() {
  m_command.btnErase_Click();
  // What was handed over meanwhile is chosen now, above the run's report.
  if (m_record.bRunning || m_asKept.empty()) return;
  Take(std::exchange(m_asKept, {}), false, true);
  m_view.PrependMessage("Handed over during the run: not part of it, and chosen now.");
}

void FrmErase::Take(const std::vector<std::string>& asPaths, bool bJoin, bool bKeepMessages) {
  std::vector<Target> targets = bJoin ? Chosen() : std::vector<Target>();
  std::string sMissing;
  for (const std::string& sPath : asPaths) {
    if (!paths::IsAbsolute(sPath) || m_fs.GetAttributes(sPath) == -1) {
      sMissing += "\r\n" + sPath;
      continue;
    }
    const bool bMap = paths::IsFolder(m_fs, sPath);
    const Target target{bMap ? paths::AsFolder(sPath) : sPath, bMap};
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
  }
  if (!targets.empty()) Select(targets, bKeepMessages);
  if (!sMissing.empty()) m_mErase.ShowNotice(kNotFound + ("\r\n" + sMissing));
}

void FrmErase::Select(const std::vector<Target>& targets, bool bKeepMessages) {
  if (targets.size() == 1) {
    m_record.several.clear();
    m_record.bMap = targets.front().bMap;
    m_record.sTarget = targets.front().sPath;
    SetEraseCaption(m_record.bMap ? "&Erase map " : "&Erase file ", false);
    ShowChosen(bKeepMessages);
    return;
  }
  m_record.several = targets;
  m_record.sTarget.clear();
  SetEraseCaption("&Erase " + ItemCount(targets.size()), false);
  tarnwipe::ResetForTarget(m_view, ItemCount(targets.size()), bKeepMessages);
  std::string sList;
  for (const Target& target : targets) sList += (sList.empty() ? "" : "\r\n") + std::string(target.bMap ? "Map: " : "File: ") + target.sPath;
  m_view.PrependMessage(sList);
}

std::vector<Target> FrmErase::Chosen() const {
  if (!m_record.several.empty()) return m_record.several;
  if (m_record.sTarget.empty()) return {};
  return {{m_record.sTarget, m_record.bMap}};
}

void FrmErase::ShowChosen(bool bKeepMessages) {
  const std::string& sTarget = m_record.sTarget;
  const std::string sName = m_record.bMap ? m_dd.ExtractFolder(sTarget) : m_dd.ExtractName(sTarget);
  SetEraseCaption(sName, true);
  tarnwipe::ResetForTarget(m_view, sName, bKeepMessages);
}

void FrmErase::btnInfo_Click() {
  // The message area is the run's only record of what could not be erased.
  if (m_record.bRunning) return;
  m_view.ClearMessages();
  for (const std::string& sBlock : ReadMeBlocks()) m_view.AppendMessageText(sBlock);
}

bool FrmErase::Form_QueryUnload() {
  if (!m_record.bRunning) return true;
  m_record.bStop = true;
  m_record.bCloseRequested = true;
  return false;
}

void FrmErase::SetTitle(const std::string& sText) { tarnwipe::SetTitle(m_view, sText); }

void FrmErase::SetEraseCaption(const std::string& sText, bool bAppend) {
  tarnwipe::SetEraseCaption(m_view, sText, bAppend);
}

void FrmErase::ResetForTarget(const std::string& sName) { tarnwipe::ResetForTarget(m_view, sName); }

void FrmErase::ClearRunState() {
  const bool bStop = m_record.bStop;
  m_record = RunRecord();
  m_record.bStop = bStop;
}

}  // namespace tarnwipe
