// The main window's logic: load, keyboard rules, target selection and the read-me.
#include "window/frm_erase.h"

#include "runs/form_operations.h"
#include "walker/path_helpers.h"
#include "runs/spec_folders.h"
#include "window/read_me.h"

namespace tarnwipe {

FrmErase::FrmErase(FormView& view, FileSystem& fs, Clock& clock, Dialogs& dialogs, const SpecialFolders& folders,
                   Separators seps)
    : m_view(view),
      m_fs(fs),
      m_seps(std::move(seps)),
      m_dd(fs, GetApplicationFolder(folders)),
      m_pump(view, clock),
      m_eraser(view, fs, clock, m_pump, m_seps),
      m_mErase(dialogs, folders, fs),
      m_protection(fs, folders),
      m_folderRun({m_record, view, fs, clock, m_pump, m_seps, m_eraser, m_dd, m_mErase, m_protection}),
      m_command({m_record, view, fs, clock, m_pump, m_seps, m_eraser, m_dd, m_mErase, m_protection}) {
  m_dd.SetEvents(&m_folderRun);
}

void FrmErase::Form_Load() {
  ClearRunState();
  m_view.SetEraseEnabled(false);
  SetTitle("");
  m_view.ClearMessages();
}

void FrmErase::Form_KeyPress(int16_t& KeyAscii) { m_record.bStop = KeyAscii == kKeyEscape; }

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
  m_record.sTarget = m_mErase.GetNameFile();
  ShowChosen();
}

void FrmErase::btnMap_Click() {
  if (m_record.bRunning) return;
  m_record.bMap = true;
  SetEraseCaption("&Erase map ", false);
  m_view.SetEraseEnabled(false);
  std::string sTitle = "Select a map to erase";
  m_record.sTarget = m_mErase.GetNameFolder(sTitle, 1);
  ShowChosen();
}

void FrmErase::TakeTargets(const std::vector<std::string>& asPaths) {
  if (m_record.bRunning) return;
  if (asPaths.size() != 1) return m_mErase.ShowNotice("Select one file or one map at a time!");
  const std::string& sPath = asPaths.front();
  if (!paths::IsAbsolute(sPath) || m_fs.GetAttributes(sPath) == -1) return m_mErase.ShowNotice("File or map not found!");
  m_record.bMap = paths::IsFolder(m_fs, sPath);
  SetEraseCaption(m_record.bMap ? "&Erase map " : "&Erase file ", false);
  m_record.sTarget = m_record.bMap ? paths::AsFolder(sPath) : sPath;
  ShowChosen();
}

void FrmErase::ShowChosen() {
  const std::string& sTarget = m_record.sTarget;
  const std::string sName = m_record.bMap ? m_dd.ExtractFolder(sTarget) : m_dd.ExtractName(sTarget);
  SetEraseCaption(sName, true);
  ResetForTarget(sName);
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
