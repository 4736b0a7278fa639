// frmErase: the main window's logic, its run record and its handlers, free of any toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/eraser.h"
#include "engine/event_pump.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/form_view.h"
#include "platform/separators.h"
#include "platform/special_folders.h"
#include "runs/erase_command.h"
#include "runs/folder_run.h"
#include "runs/m_erase.h"
#include "runs/protection.h"
#include "runs/run_record.h"
#include "walker/c_dir_drill.h"

namespace tarnwipe {

class FrmErase {
 public:
  static constexpr int16_t kKeyBackspace = 8;
  static constexpr int16_t kKeyEscape = 27;
  static constexpr int kMaxTimes = 25;

  FrmErase(FormView& view, FileSystem& fs, Clock& clock, Dialogs& dialogs, const SpecialFolders& folders,
           Separators seps);
  FrmErase(const FrmErase&) = delete;
  FrmErase& operator=(const FrmErase&) = delete;

  void Form_Load();
  // Every typed character, whichever control has the focus: Esc asks a run to stop.
  void Form_KeyPress(int16_t& KeyAscii);
  // Characters typed into the pass count: digits and Backspace only (0 discards the character).
  void txtTimes_KeyPress(int16_t& KeyAscii);
  // After every key release in the pass count: more than 25 becomes 25.
  void txtTimes_KeyUp();
  void btnFile_Click();
  void btnMap_Click();
  void btnInfo_Click();
  // A target handed to the program, on its command line or dropped on the window, is chosen as
  // the matching dialog would choose it: a folder as a map, anything else (a link too) as a
  // file. None, several, or one that does not exist get a notice and leave no target; during a
  // run nothing is taken.
  void TakeTargets(const std::vector<std::string>& asPaths);
  void btnErase_Click() { m_command.btnErase_Click(); }
  // Closing the window: allowed at once when idle; during a run it asks the run to stop and
  // the window closes when the run is over (CloseRequested).
  bool Form_QueryUnload();

  void SetTitle(const std::string& sText);
  void SetEraseCaption(const std::string& sText, bool bAppend);
  void ResetForTarget(const std::string& sName);
  void ClearRunState();

  RunRecord& Record() { return m_record; }
  FolderRun& Run() { return m_folderRun; }

 private:
  // Shows the target just chosen on the erase button and readies the window for it.
  void ShowChosen();

  FormView& m_view;
  const FileSystem& m_fs;
  Separators m_seps;
  RunRecord m_record;
  CDirDrill m_dd;
  EventPump m_pump;
  Eraser m_eraser;
  MErase m_mErase;
  Protection m_protection;
  FolderRun m_folderRun;
  EraseCommand m_command;
};

}  // namespace tarnwipe
