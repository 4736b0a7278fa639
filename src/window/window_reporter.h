// The one listener of every run: turns what the runs and the engine tell into the program's
// texts in the message area, keeps the captions and the progress label, times files and runs,
// and lets the window breathe.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/form_view.h"
#include "platform/separators.h"
#include "runs/m_erase.h"
#include "runs/run_reporter.h"
#include "window/event_pump.h"
#include "window/file_progress.h"

namespace tarnwipe {

class WindowReporter : public RunReporter {
 public:
  // The progress caption runs through 1 to 87 dots, then starts again.
  static constexpr int kDotCycle = 88;
  // A run lists this many files as they begin; after them only the files it could not erase, so
  // that a run over many files keeps the message area's memory bounded and every failure in it.
  static constexpr int64_t kListedFiles = 1000;
  // Free space a free-space run left unreached that is not worth a line: the last partial
  // blocks of its fillers and the folders' own growth.
  static constexpr int64_t kKeptBackTolerance = 1 << 20;

  WindowReporter(FormView& view, Clock& clock, const Separators& seps, MErase& mErase)
      : m_view(view), m_clock(clock), m_seps(seps), m_mErase(mErase), m_pump(view, clock), m_progress(view, clock) {}

  // Esc asked the run under way to stop: the title says so for the rest of it.
  void Stopping();

  // The window's load forgets the folder last announced.
  void Reset() { m_sCurFolder.clear(); }

  void FileStarted(const std::string& sName, int64_t lBytes, int64_t lInUse, int32_t lPasses) override;
  void Written(int64_t lBytes, int32_t iPass, double dblPassDone) override;
  void FileEnded(const FileOutcome& outcome) override;
  void Breathe() override { m_pump.Pump(); }

  void RunStarted(const std::string& sWhat, bool bWalk) override;
  void FolderEntered(const std::string& sFolder) override;
  void FolderUnreadable(const std::string& sFolder) override;
  void FolderSkipped(const std::string& sFolder) override;
  void TrashSkipped(const std::string& sFolder, const std::string& sWhy) override;
  void ShowAs(const std::string& sStored, const std::string& sShown) override;
  void LeftOver(const std::string& sFolder, int32_t lFiles, int32_t lFolders) override;
  void Blocked() override;
  void ItemMissing(const std::string& sPath) override;
  void ItemRefused(Refusal eRefusal, const std::string& sPath) override;
  void FileRunEnded(const FileOutcome& outcome, const std::string& sOldCopies) override;
  void RunEnded(const RunTotals& totals, const std::vector<std::string>& asOldCopies) override;
  void FreeSpaceEnded(const FreeSpaceTotals& totals) override;

 private:
  // Puts sMsg on top of the message area, with the time since the current file began when
  // bTimed, and sBelow, when given, on a line of its own below it.
  void Say(std::string sMsg, bool bTimed = false, const std::string& sBelow = "");
  // The run's duration so far; false when no time can be told (both clock readings 0).
  bool RunSeconds(float& sngSeconds);
  void ShowDots();
  // The progress caption emptied, its dots counted from none again.
  void ClearDots();
  // The window as it is between runs.
  void EndRun();
  // A file's name, or a folder's path, as the user is shown it.
  std::string ShownName(const std::string& sName) const;
  std::string ShownFolder(const std::string& sFolder) const;

  FormView& m_view;
  Clock& m_clock;
  const Separators& m_seps;
  MErase& m_mErase;
  EventPump m_pump;
  FileProgress m_progress;
  float m_sngStart = 0;      // clock when the run began
  float m_sngFileStart = 0;  // clock when the current file began
  int64_t m_lFilesBegun = 0;  // files of the run begun so far
  std::string m_sCurFolder;  // the folder last announced
  std::map<std::string, std::string> m_shownNames;                 // by a stored file's name
  std::vector<std::pair<std::string, std::string>> m_shownFolders;  // by a stored folder's path
  int m_iDots = 0;
};

}  // namespace tarnwipe
