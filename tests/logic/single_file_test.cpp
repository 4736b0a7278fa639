// The erase command and the erase engine through single-file runs over the in-memory file layer:
// the input checks, the passes and their coverage, failures that keep the file, the report.
#include "engine/eraser.h"

#include "form_fixture.h"
#include "memory_file_system.h"
#include "runs/protection.h"

namespace tarnwipe::test {
namespace {

class SingleFileTest : public FormFixture<MemoryFileSystem> {
 protected:
  // Erases /home/u/<sName>, made of sContent, with the pass count sTimes.
  void EraseFile(const std::string& sName, const std::string& sContent, const char* pTimes = "5") {
    fs.AddFile("/home/u/" + sName, sContent);
    view.sTimes = pTimes;
    Erase("/home/u/" + sName, false);
  }
  std::string LastRemoved() const { return fs.removals.empty() ? "" : fs.removals.back().second; }
};

TEST_F(SingleFileTest, InputChecksRefuseInTheirOrderAndChangeNothing) {
  const MemoryFileSystem::Node& node = fs.AddFile("/home/u/notes.txt", "n");
  for (const auto& [pTimes, pTarget, bMap, pNotice] :
       {std::tuple{"", "", true, std::string("Number of times not set!")}, {"5", "", true, std::string("No folder selected!")},
        {"5", "", false, "No file selected!"}, {"5", "/etc/passwd", false, RefusalNotice(Refusal::kSystemFolder)},
        {"5", "/opt/tool/bin", false, RefusalNotice(Refusal::kProgramsFolder)},
        {"5", "/", true, RefusalNotice(Refusal::kRoot)}, {"5", "notes.txt", false, std::string("Invalid path!")},
        {"5", "/home/gone/", true, std::string("Map not found!")}}) {
    view.sTimes = pTimes;
    view.sText = "earlier";
    view.bEraseEnabled = true;
    Erase(pTarget, bMap);
    EXPECT_EQ(LastBox(), pNotice);
    EXPECT_TRUE(view.bEraseEnabled && view.sText == "earlier" && form.Record().sTarget == Native(pTarget)) << pNotice;
  }
  EXPECT_EQ(node.sContent, "n");
}

TEST_F(SingleFileTest, RunKeepsTheButtonsOffAndReportsOnTop) {
  int iSeenOn = 0;
  view.onPump = [&] {
    iSeenOn += view.bSelectEnabled || view.bEraseEnabled || !view.bBusy;
    form.btnFile_Click();  // a click that gets through must not change the target
  };
  EraseFile("notes.txt", std::string(1025, 'n'));
  EXPECT_EQ(LastBox(), "Are You sure You want to erase notes.txt?");
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Erased 1.00 kBytes in 0.1 seconds  [10.01 kB / second]", "",
                                                    "Erasing notes.txt  [1,025 bytes]"}));
  EXPECT_TRUE(iSeenOn == 0 && dialogs.iChoosers == 0 && !fs.Find("/home/u/notes.txt"));
  EXPECT_TRUE(!view.bEraseEnabled && view.bSelectEnabled && !view.bBusy && form.Record().sTarget.empty());
  fs.sKeepsCopies = "f2fs";
  EraseFile("copied.txt", "c");
  EXPECT_EQ(LastBox(), "Are You sure You want to erase copied.txt?\r\n\r\nThis f2fs file system keeps old copies that "
                       "overwriting cannot reach.");
  EXPECT_TRUE(view.Lines()[1].starts_with("  Warning: f2fs keeps old copies"));
  const std::string sBefore = view.sText;
  dialogs.lAnswer = kAnswerNo;
  EraseFile("kept.txt", "k");
  EXPECT_TRUE(fs.Find("/home/u/kept.txt") && view.sText == sBefore && form.Record().sTarget == Native("/home/u/kept.txt"));
}

TEST_F(SingleFileTest, EveryPassCoversTheFileToPastItsLastBlockWithItsOwnFillerAndIsFlushed) {
  EraseFile("secret.bin", std::string(1500, 'S'), "25");
  ASSERT_EQ(fs.flushed.size(), 26U);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(fs.flushed[i].sContent, std::string(2048, static_cast<char>('0' + i))) << i;
  for (const auto& [lLength, lFinal] : {std::pair<size_t, size_t>{0, 1024}, {1023, 1024}, {1024, 2048}, {1025, 2048}}) {
    EraseFile("f", std::string(lLength, 'x'), "0");
    EXPECT_EQ(LastRemoved(), std::string(lFinal, '0')) << lLength;
  }
}

TEST_F(SingleFileTest, FailuresKeepTheFileAndAreReported) {
  struct Case {
    int iFailWriteAt, iFailFlushAt, lNoRoomFrom;
    const char* pTimes;
  };
  for (const Case& c : {Case{2, -1, -1, "5"}, Case{-1, 2, -1, "5"}, Case{-1, -1, 1000, "5"}, Case{-1, -1, -1, "x"}}) {
    fs.iWrites = 0;
    fs.flushed.clear();
    fs.iFailWriteAt = c.iFailWriteAt;
    fs.iFailFlushAt = c.iFailFlushAt;
    fs.lNoRoomFrom = c.lNoRoomFrom;
    EraseFile("kept.txt", std::string(1500, 'D'), c.pTimes);
    EXPECT_EQ(view.Lines()[0], "Could not erased file kept.txt [in 0.1 seconds]") << c.pTimes << c.lNoRoomFrom;
  }
  fs.nodes.erase(Native("/home/u/kept.txt"));
  fs.AddFile("/home/u/locked", "l").bRefused = true;
  Erase("/home/u/locked", false);
  Erase("/home/u/vanished", false);
  EXPECT_EQ(view.Lines()[0], "Could not erased file vanished [in 0.1 seconds]");
  EXPECT_TRUE(fs.removals.empty() && fs.Find("/home/u/locked"));
  // A full disk that refuses only the growth past the file's end still erases every byte.
  fs.lNoRoomFrom = 1000;
  EraseFile("full.txt", std::string(1000, 'F'));
  EXPECT_EQ(LastRemoved(), std::string(1000, '5'));
}

TEST_F(SingleFileTest, LinkIsRemovedWithoutAnyWrite) {
  fs.AddFile("/home/u/link", "", kAttrArchive | kAttrLink);
  Erase("/home/u/link", false);
  EXPECT_TRUE(!fs.Find("/home/u/link") && fs.iWrites == 0);
}

TEST_F(SingleFileTest, FileBeyondTwoGigabytesIsCoveredWholeAndGivenBackInSteps) {
  const int64_t lLength = (int64_t{1} << 31) + 100;
  fs.AddFile("/home/u/huge.img", "").lLength = lLength;
  view.sTimes = "0";
  Erase("/home/u/huge.img", false);
  EXPECT_EQ(fs.lBytesWritten, (lLength / 1024 + 1) * 1024);
  EXPECT_EQ(fs.flushed.back().lLength, fs.lBytesWritten);
  EXPECT_EQ(fs.iTruncations, 16);
  EXPECT_EQ(view.Lines().back(), "Erasing huge.img  [2,147,483,748 bytes]");
}

TEST_F(SingleFileTest, WindowIsLetThroughAboutOnceAFrame) {
  clock.dblFrameStep = 0.001;  // a block takes far less than a frame
  EraseFile("big.bin", std::string(1 << 20, 'B'));
  EXPECT_LT(view.iPumps, 40);  // 6 passes of 1025 blocks
}

}  // namespace
}  // namespace tarnwipe::test
