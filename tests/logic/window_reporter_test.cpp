// The window's texts for what a run tells: a line for each event of a walk, the first thousand
// files listed and after them only the ones kept, and a closing line that counts what stayed.
#include "window/window_reporter.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "memory_file_system.h"
#include "runs/old_copies.h"

namespace tarnwipe::test {
namespace {

TEST(WindowReporter, EachEventOfAWalkHasItsLineAndTheClosingLineCountsWhatStayed) {
  FakeFormView view;
  FakeClock clock;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  MemoryFileSystem fs;
  MErase mErase(dialogs, folders, fs);
  const Separators seps;
  WindowReporter reporter(view, clock, seps, mErase);
  reporter.RunStarted("map m", true);
  for (const char* pFolder : {"/m/", "/m/"}) reporter.FolderEntered(pFolder);  // said once
  reporter.FolderUnreadable("/m/closed/");
  reporter.FolderSkipped("/m/mnt/");
  reporter.LeftOver("/m/", 9, 1);
  for (int i = 0; i <= WindowReporter::kListedFiles + 1; ++i) {
    FileOutcome outcome{"f" + std::to_string(i), 10, 10};
    if (i == 999 || i == WindowReporter::kListedFiles + 1) outcome.ec = std::make_error_code(std::errc::device_or_resource_busy);
    reporter.FileStarted(outcome.sName, 10, 10, 5);
    reporter.FileEnded(outcome);
  }
  RunTotals totals{1000, 2, 1, 2, 9.77, 9.77, {{"open in another program", 2}}};
  reporter.RunEnded(totals, {"f2fs"});
  const std::vector<std::string> asLines = view.Lines();
  ASSERT_GT(asLines.size(), 20U);
  EXPECT_EQ(std::vector<std::string>(asLines.begin(), asLines.begin() + 14),
            (std::vector<std::string>{"Erased 1,000 file(s) and 2 folder(s);  9.77 kBytes in 0.1 seconds [97.70 kB / second]",
                                      "  unable to delete 1 folder(s)",
                                      "  names of 2 folder(s) may remain: they could not be renamed before they were removed",
                                      "  unable to erase 2 file(s)", "    2 x open in another program",
                                      OldCopiesWarning("f2fs").substr(2), "", "Could not erased file f1001 [in 0.1 seconds]",
                                      "  Reason: open in another program", "Erasing f1001  [10 bytes]",
                                      "More than 1,000 files: from here on only the files not erased are listed.",
                                      "Could not erased file f999 [in 0.1 seconds]",
                                      "  Reason: open in another program", "Erasing f999  [10 bytes]"}));
  EXPECT_EQ(std::vector<std::string>(asLines.end() - 5, asLines.end()),
            (std::vector<std::string>{"Left 1 folder(s) in /m/ unvisited: one run takes 3000 at most; erase again to continue",
                                      "Left 9 matching file(s) in /m/: one visit lists 3001 at most; erase again to continue",
                                      "Skipped other file system /m/mnt/", "Could not read map /m/closed/", "Erasing files in /m/"}));
}

}  // namespace
}  // namespace tarnwipe::test
