// frmErase: the main window's logic, its selection and its handlers, free of any toolkit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/form_view.h"
#include "platform/separators.h"
#include "platform/special_folders.h"
#include "runs/m_erase.h"
#include "runs/protection.h"
#include "runs/run.h"
#include "runs/target.h"
#include "window/window_reporter.h"

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
  // Every typed character, whichever control has the focus: Esc asks a run to stop, and no
  // later key takes that back during the run.
  void Form_KeyPress(int16_t& KeyAscii);
  // Characters typed into the pass count: digits and Backspace only (0 discards the character).
  void txtTimes_KeyPress(int16_t& KeyAscii);
  // After every key release in the pass count: more than 25 becomes 25.
  void txtTimes_KeyUp();
  void btnFile_Click();
  void btnMap_Click();
  // What was deleted before: a menu of the places it lies (the Trash), one of which becomes the
  // selection.
  void btnDeleted_Click();
  void btnInfo_Click();
  // Items dropped on the window become the new selection, each chosen as its dialog would
  // choose it: a folder as a map, anything else (a link too) as a file. Items that do not exist
  // or are no full paths get one notice naming them; the others are kept. During a run nothing
  // is taken.
  void TakeTargets(const std::vector<std::string>& asPaths);
  // Items handed over by another start of the program. Hand-offs within about a second of each
  // other join one selection, as a file manager's one start per selected item does; a hand-off
  // after a pause replaces it. During a question or a run nothing joins: the items are kept,
  // said so in the message area, and chosen when the run is over.
  void HandOff(const std::vector<std::string>& asPaths);
  // Makes targets (one or more) the selection: with one, exactly as its dialog does; with
  // several, the erase button gives their count and the message area lists them.
  void Select(const std::vector<Target>& targets, bool bKeepMessages = false);
  void btnErase_Click();
  // Closing the window: allowed at once when idle; during a run it asks the run to stop and
  // the window closes when the run is over (CloseRequested).
  bool Form_QueryUnload();

  void SetTitle(const std::string& sText);
  void SetEraseCaption(const std::string& sText, bool bAppend);
  void ResetForTarget(const std::string& sName);
  void ClearRunState();

  // What is chosen now, one item or several; none when nothing is.
  const std::vector<Target>& Selection() const { return m_selection; }
  // True while a run is under way.
  bool Running() const { return m_pRun != nullptr; }
  // The user asked the run to stop (or, between runs, Esc was the last key).
  bool StopRequested() const { return m_bStop; }
  // The window was closed during a run and closes now that it is over.
  bool CloseRequested() const { return m_bCloseRequested; }

 private:
  // Hand-offs this close to each other, in seconds, join one selection.
  static constexpr double kBurstSeconds = 1.0;

  // Lets the user choose a folder on the disk whose free space becomes the selection.
  void ChooseFreeSpaceDisk();
  // Shows the target just chosen on the erase button and readies the window for it.
  void ShowChosen(bool bKeepMessages = false);
  // Makes asPaths the selection, or adds them to it (bJoin); see TakeTargets.
  void Take(const std::vector<std::string>& asPaths, bool bJoin, bool bKeepMessages);
  // The first check of the window's input that fails, as its notice; empty when all pass.
  std::string CheckInput() const;

  FormView& m_view;
  FileSystem& m_fs;
  Clock& m_clock;
  Separators m_seps;
  MErase m_mErase;
  const SpecialFolders& m_folders;
  Protection m_protection;
  WindowReporter m_reporter;
  std::vector<Target> m_selection;
  TargetKind m_eChoosing = TargetKind::kFile;  // what the selection buttons chose last
  std::unique_ptr<Run> m_pRun;                 // the run under way; none between runs
  bool m_bStop = false;                        // the user asks the run to stop
  bool m_bBlocked = false;                     // a run met the program's own folder; cleared by load
  bool m_bCloseRequested = false;
  double m_dblLastHandOff = -1;         // monotonic clock at the last hand-off
  std::vector<std::string> m_asKept;  // handed over during a run, chosen once it is over
};

}  // namespace tarnwipe
