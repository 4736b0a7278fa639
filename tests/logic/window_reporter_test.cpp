// The window's texts for what a run tells: a line for each event of a walk, the first thousand
// files listed and after them only the ones kept, and a closing line that counts what stayed.
#include "window/window_reporter.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "memory_file_system.h"
#include "runs/old_copies.h"

namespace tarnwipe::test {
namespace {

struct WindowReporterTest : ::testing::Test {
  FakeFormView view;
  FakeClock clock;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  MemoryFileSystem fs;
  MErase mErase{dialogs, folders, fs};
  const Separators seps;
  WindowReporter reporter{view, clock, seps, mErase};
};

TEST_F(WindowReporterTest, EachEventOfAWalkHasItsLineAndTheClosingLineCountsWhatStayed) {
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
  RunTotals totals{1000, 2, 1, 2, 1, 9.77, 9.77, {{"open in another program", 2}}};
  reporter.RunEnded(totals, {"f2fs"});
  const std::vector<std::string> asLines = view.Lines();
  ASSERT_GT(asLines.size(), 20U);
  EXPECT_EQ(std::vector<std::string>(asLines.begin(), asLines.begin() + 15),
            (std::vector<std::string>{"Erased 1,000 file(s) and 2 folder(s);  9.77 kBytes in 0.1 seconds [97.70 kB / second]",
                                      "  unable to delete 1 folder(s)", "  unable to read 1 folder(s): what they hold is not erased",
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

// A free-space run's closing line: what failed or stopped it, or what it overwrote and, one line
// each, what it could not reach.
TEST_F(WindowReporterTest, FreeSpaceClosingLineSaysWhatWasNotReached) {
  const std::string sDisk = "/media/stick/";
  for (const auto& [totals, sLine] :
       {std::pair{FreeSpaceTotals{sDisk, 5 << 20, 3 << 20, {}, false, 2, 1, 64 << 20, 1 << 19},
                  "Erased free space of " + sDisk + ": 3.00 MBytes in 0.1 seconds  [30.00 MB / second]\r\n"
                  "  not reached: 2.00 MBytes the file system keeps back\r\n  removed names overwritten in 2 folder(s)\r\n"
                  "  unable to overwrite the removed names in 1 folder(s)\r\n"
                  "  not reached: older copies of records in the journal (64.00 MBytes)"},
        {FreeSpaceTotals{sDisk, 3 << 20, 3 << 20, {}, false, 0, 0, 64 << 20, 64 << 20, true},
         "Erased free space of " + sDisk + ": 3.00 MBytes in 0.1 seconds  [30.00 MB / second]\r\n"
         "  not reached: what the file system keeps back for its own records, uncounted\r\n"
         "  journal turned over: 64.00 MBytes of new records logged over its older copies"},
        {FreeSpaceTotals{sDisk, 3 << 20, 0, std::make_error_code(std::errc::io_error)},
         "Could not erase the free space of " + sDisk + "\r\n  Reason: the disk reported a write error\r\n"
         "  what was deleted before may still lie in it"},
        {FreeSpaceTotals{sDisk, 3 << 20, 0, {}, true},
         "Stopped: the free space of " + sDisk + " was not fully erased; the space is free again"}}) {
    view.sText.clear();
    reporter.RunStarted("free space of " + sDisk, true);
    reporter.FreeSpaceEnded(totals);
    EXPECT_EQ(view.sText, sLine + "\r\n");
  }
}

}  // namespace
}  // namespace tarnwipe::test
