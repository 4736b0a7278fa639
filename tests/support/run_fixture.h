// Runs driven without the window over the memory layer: chosen, checked and executed as the
// window does, telling a reporter that notes what they tell.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "engine/kept_reason.h"
#include "fakes.h"
#include "memory_file_system.h"
#include "runs/run_choice.h"

namespace tarnwipe::test {

// What a run told: the files it erased and kept, in order, its other events and its totals.
struct RecordingReporter : RunReporter {
  std::vector<std::string> asErased;  // names of the files erased
  std::vector<std::string> asKept;    // "name: reason" of the files kept
  std::vector<std::string> asEvents;  // "entered", "unreadable", "skipped", "left", "blocked", "missing", ...
  RunTotals totals;
  FreeSpaceTotals freeSpace;
  std::function<void()> onBreathe;  // runs whenever the window would breathe: as bytes go out, in long steps, as a file ends

  void FileStarted(const std::string&, int64_t, int64_t, int32_t) override {}
  void Written(int64_t, int32_t, double) override { Breathe(); }
  void FileEnded(const FileOutcome& outcome) override {
    outcome.Erased() ? asErased.push_back(outcome.sName) : asKept.push_back(outcome.sName + ": " + KeptReason(outcome));
    Breathe();
  }
  void Breathe() override {
    if (onBreathe) onBreathe();
  }
  void RunStarted(const std::string&, bool) override {}
  void FolderEntered(const std::string& sFolder) override { Note("entered", sFolder); }
  void FolderUnreadable(const std::string& sFolder) override { Note("unreadable", sFolder); }
  void FolderSkipped(const std::string& sFolder) override { Note("skipped", sFolder); }
  void ShowAs(const std::string& sStored, const std::string& sShown) override { Note("shown as " + sShown + ":", sStored); }
  void TrashSkipped(const std::string& sFolder, const std::string& sWhy) override { Note("trash skipped (" + sWhy + ")", sFolder); }
  void LeftOver(const std::string& sFolder, int32_t lFiles, int32_t lFolders) override {
    Note("left " + std::to_string(lFiles) + " files " + std::to_string(lFolders) + " folders in", sFolder);
  }
  void Blocked() override { asEvents.push_back("blocked"); }
  void ItemMissing(const std::string& sPath) override { Note("missing", sPath); }
  void ItemRefused(Refusal, const std::string& sPath) override { Note("refused", sPath); }
  void FileRunEnded(const FileOutcome& outcome, const std::string&) override { totals.Add(outcome); }
  void RunEnded(const RunTotals& runTotals, const std::vector<std::string>&) override { totals = runTotals; }
  void FreeSpaceEnded(const FreeSpaceTotals& freeTotals) override { freeSpace = freeTotals; }

  void Note(const std::string& sEvent, const std::string& sPath) { asEvents.push_back(sEvent + " " + sPath); }
};

class RunFixture : public ::testing::Test {
 protected:
  // Runs over the targets (paths written the POSIX way) with five passes; returns the notice
  // that kept the run from starting, empty when it ran.
  std::string Erase(const std::vector<Target>& targets, const std::string& sPattern = "*.*") {
    reporter.asErased.clear(), reporter.asKept.clear(), reporter.asEvents.clear(), reporter.totals = {};
    std::vector<Target> native;
    for (const Target& target : targets) native.push_back({Native(target.sPath), target.eKind});
    const RunParts parts{fs, reporter, protection, folders, seps, bStop, false, 5, sPattern};
    pRun = ChooseRun(native, parts);
    if (std::string sNotice = pRun->Check(); !sNotice.empty()) return sNotice;
    pRun->Execute();
    pRun->Summary();
    return "";
  }
  std::string EraseMap(const std::string& sPath, const std::string& sPattern = "*.*") {
    return Erase({{sPath, TargetKind::kMap}}, sPattern);
  }

  MemoryFileSystem fs;
  FakeSpecialFolders folders;
  Protection protection{fs, folders};
  const Separators seps;
  RecordingReporter reporter;
  bool bStop = false;
  std::unique_ptr<tarnwipe::Run> pRun;
};

}  // namespace tarnwipe::test
