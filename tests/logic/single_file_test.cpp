// The erase command and the erase engine through single-file runs over the in-memory file layer:
// the input checks, the passes and their coverage, failures that keep the file, the report.
#include "engine/eraser.h"

#include <algorithm>
#include <regex>

#include "engine/pass_coverage.h"

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
        {"5", "/home/gone/", true, std::string("Map not found!")},
        {"5", "/home/u", false, std::string("The chosen file is a map now; select it again!")}}) {
    view.sTimes = pTimes;
    view.sText = "earlier";
    view.bEraseEnabled = true;
    Erase(pTarget, bMap);
    EXPECT_EQ(LastBox(), pNotice);
    EXPECT_TRUE(view.bEraseEnabled && view.sText == "earlier" && Chosen() == Native(pTarget)) << pNotice;
  }
  EXPECT_EQ(node.sContent, "n");
  // The root itself is no map to erase, but a file in it may be erased.
  fs.AddFile("/notes.txt", "n");
  Erase("/notes.txt", false);
  EXPECT_EQ(LastBox(), "Are You sure You want to erase notes.txt?");
}

TEST_F(SingleFileTest, RunKeepsTheButtonsOffAndReportsOnTop) {
  int iSeenOn = 0;
  view.onPump = [&] {
    iSeenOn += view.bSelectEnabled || view.bEraseEnabled || !view.bBusy;
    form.btnFile_Click();  // a click that gets through must not change the target
    form.btnInfo_Click();  // nor replace the run's record with the read-me
  };
  EraseFile("notes.txt", std::string(1025, 'n'));
  EXPECT_EQ(LastBox(), "Are You sure You want to erase notes.txt?");
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Erased 1.00 kBytes in 0.1 seconds  [10.01 kB / second]", "",
                                                    "Erasing notes.txt  [1,025 bytes]"}));
  EXPECT_TRUE(iSeenOn == 0 && dialogs.iChoosers == 0 && !fs.Find("/home/u/notes.txt"));
  EXPECT_TRUE(!view.bEraseEnabled && view.bSelectEnabled && !view.bBusy && Chosen().empty());
  fs.bNamesStay = true;  // erased all the same, and said so
  EraseFile("named.txt", "n");
  EXPECT_EQ(view.Lines()[2], "  Its name may remain in its folder: it could not be renamed before it was removed.");
  fs.bNamesStay = false;
  fs.sKeepsCopies = "f2fs";
  EraseFile("copied.txt", "c");
  EXPECT_EQ(LastBox(), "Are You sure You want to erase copied.txt?\r\n\r\nThis f2fs file system keeps old copies that "
                       "overwriting cannot reach.");
  EXPECT_TRUE(view.Lines()[1].starts_with("  Warning: f2fs keeps old copies"));
  const std::string sBefore = view.sText;
  dialogs.lAnswer = kAnswerNo;
  EraseFile("kept.txt", "k");
  EXPECT_TRUE(fs.Find("/home/u/kept.txt") && view.sText == sBefore && Chosen() == Native("/home/u/kept.txt"));
}

TEST_F(SingleFileTest, EveryPassCoversTheFileAndItsLastBlocksSlackButNeverMovesIt) {
  fs.lBlock = 4096;
  fs.AddFile("/home/u/secret.bin", std::string(1500, 'S')).lAllocated = 4096;
  view.sTimes = "25";
  Erase("/home/u/secret.bin", false);
  ASSERT_EQ(fs.flushed.size(), 26U);
  for (int i = 0; i < 26; ++i) EXPECT_EQ(fs.flushed[i].sContent, std::string(4096, static_cast<char>('0' + i))) << i;
  // Length, bytes in blocks of its own, length after the passes: data kept in the file's record
  // (none or fewer bytes of blocks than its rounded length) is never grown out of it.
  for (const auto& [lLength, lAllocated, lFinal] :
       {std::tuple<size_t, int64_t, size_t>{0, 0, 0}, {1, 4096, 4096}, {4095, 4096, 4096}, {4096, 4096, 4096},
        {4097, 8192, 8192}, {600, 0, 600}, {600, 1024, 600}, {5000, 4096, 5000}, {5000, 12288, 8192}}) {
    fs.AddFile("/home/u/f", std::string(lLength, 'x')).lAllocated = lAllocated;
    view.sTimes = "0";
    Erase("/home/u/f", false);
    EXPECT_EQ(LastRemoved(), std::string(lFinal, '0')) << lLength << " " << lAllocated;
  }
}

// A sparse file: every pass writes the blocks it owns and skips its holes; blocks it owns past
// its end are never written beyond its last block; a list that changes between the passes means
// another writer, and keeps the file; unlisted holes are written only where the disk has room.
TEST_F(SingleFileTest, SparseFileGetsItsOwnedBlocksOnlyAndIsKeptWhenTheyChange) {
  fs.lBlock = 4096;
  const auto sparse = [&](const std::string& sName, const std::string& sContent, std::vector<ByteRange> owned) {
    MemoryFileSystem::Node& node = fs.AddFile("/home/u/" + sName, sContent);
    node.owned = std::move(owned);
    node.bListed = true;
    node.lAllocated = BytesIn(node.owned);
    Erase("/home/u/" + sName, false);
  };
  std::string sImage(40000, '\0'), sErased(40000, '\0');
  for (const int64_t lAt : {0, 32768}) sImage.replace(lAt, 4096, 4096, 'S'), sErased.replace(lAt, 4096, 4096, '5');
  sparse("vm.img", sImage, {{0, 4096}, {32768, 4096}});
  EXPECT_EQ(LastRemoved(), sErased);
  EXPECT_EQ(fs.lBytesWritten, 6 * 8192);
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Erased 39.06 kBytes in 0.1 seconds  [80.00 kB / second]", "",
                                                    "Erasing vm.img  [40,000 bytes, 8,192 in use]"}));
  // Blocks preallocated past the end; a file of nothing but a hole.
  sparse("f", std::string(10000, 'x'), {{0, 65536}});
  EXPECT_EQ(LastRemoved(), std::string(12288, '5'));
  sparse("hole", std::string(1 << 20, 'x'), {});
  EXPECT_EQ(LastRemoved(), std::string(1 << 20, 'x'));
  // Where the blocks cannot be listed, the passes cover the holes too: a file whose holes the disk
  // has no room for is kept before the first write, the disk not filled.
  fs.space.lAvailable = 30000;
  fs.AddFile("/home/u/unlisted.img", sImage).lAllocated = 8192;
  Erase("/home/u/unlisted.img", false);
  EXPECT_EQ(view.Lines()[1], "  Reason: writing over its holes needs more room than the disk has; nothing was overwritten");
  EXPECT_EQ(fs.Find("/home/u/unlisted.img")->sContent, sImage);
  fs.space.lAvailable = 40000;
  Erase("/home/u/unlisted.img", false);
  EXPECT_FALSE(fs.Find("/home/u/unlisted.img"));
  fs.onFlush = [](MemoryFileSystem::Node& node) { node.owned.push_back({16384, 4096}); };
  sparse("grown.img", sImage, {{0, 4096}});
  EXPECT_EQ(view.Lines()[0], "Could not erased file grown.img [in 0.1 seconds]");
}

TEST_F(SingleFileTest, FailuresKeepTheFileAndAreReported) {
  const std::string sWriteError = "the disk reported a write error";
  // Failing write, failing flush, no room from, failing write-back wait, pass count, size, reason.
  for (const auto& [iFailWriteAt, iFailFlushAt, lNoRoomFrom, bFailWriteBack, pTimes, lSize, sReason] :
       {std::tuple{2, -1, -1, false, "5", size_t{1500}, sWriteError}, {-1, 2, -1, false, "5", 1500, sWriteError},
        {-1, -1, 1000, false, "5", 1500, "the disk is full"}, {-1, -1, -1, false, "x", 1500, "the pass count is no number"},
        {-1, -1, -1, true, "5", 20 << 20, sWriteError}}) {
    fs.iWrites = 0;
    fs.flushed.clear();
    fs.iFailWriteAt = iFailWriteAt;
    fs.iFailFlushAt = iFailFlushAt;
    fs.lNoRoomFrom = lNoRoomFrom;
    fs.bFailWriteBack = bFailWriteBack;  // what a write-back wait reports is reported nowhere else
    fs.lBlock = 4096;  // the passes reach into the last block's slack, and give it back when kept
    fs.AddFile("/home/u/kept.txt", std::string(lSize, 'D')).lAllocated = int64_t{1} << 32;
    view.sTimes = pTimes;
    Erase("/home/u/kept.txt", false);
    EXPECT_EQ(view.Lines()[0], "Could not erased file kept.txt [in 0.1 seconds]") << pTimes << lNoRoomFrom;
    EXPECT_EQ(view.Lines()[1], "  Reason: " + sReason);
    EXPECT_EQ(fs.Find("/home/u/kept.txt")->sContent.size(), lSize) << "a kept file keeps its length";
  }
  fs.bFailWriteBack = false;
  EXPECT_TRUE(fs.removals.empty());
  // A full disk that refuses only the slack past the file's end still erases every byte.
  fs.lNoRoomFrom = 1000;
  fs.lBlock = 4096;
  fs.AddFile("/home/u/full.txt", std::string(1000, 'F')).lAllocated = 4096;
  view.sTimes = "5";
  Erase("/home/u/full.txt", false);
  EXPECT_EQ(LastRemoved(), std::string(1000, '5'));
}

TEST_F(SingleFileTest, ChosenLinkIsSaidToBeALinkAndRemovedWithoutAnyWrite) {
  fs.AddFile("/home/u/link", "", kAttrArchive | kAttrLink);
  Erase("/home/u/link", false);
  EXPECT_EQ(LastBox(), "Are You sure You want to erase link?\r\n\r\nlink is a link: only the link will be removed; "
                       "what it points to is not overwritten.");
  EXPECT_EQ(view.Lines()[0], "Removed the link link; nothing was overwritten.");
  EXPECT_TRUE(!fs.Find("/home/u/link") && fs.iWrites == 0);
  // A plain file put in the link's place while the question was open is not what was confirmed.
  fs.AddFile("/home/u/link", "", kAttrArchive | kAttrLink);
  dialogs.onQuestion = [this] { fs.AddFile("/home/u/link", "plain"); };
  Erase("/home/u/link", false);
  EXPECT_EQ(view.Lines()[0], "Could not erased file link [in 0.1 seconds]");
  EXPECT_EQ(fs.Find("/home/u/link")->sContent, "plain");
}

// Short writes go on, named streams get every pass, and a file of a thousand blocks lets the window
// through about once a frame, not once a block.
TEST_F(SingleFileTest, ShortWritesGoOnAndNamedStreamsGetEveryPass) {
  clock.dblFrameStep = 0.001;  // a block takes far less than a frame
  EraseFile("big.bin", std::string(1 << 20, 'B'));
  EXPECT_LT(view.iPumps, 40);  // 6 passes of 1025 blocks
  fs.flushed.clear();
  fs.lWriteLimit = 100;
  fs.AddFile("/home/u/s.txt", std::string(1000, 's')).asStreams = {"first stream", std::string(3000, 'z')};
  Erase("/home/u/s.txt", false);
  EXPECT_EQ(LastRemoved(), std::string(1000, '5'));
  EXPECT_EQ(fs.flushed.size(), 18U);  // six passes over each stream and the file
  EXPECT_EQ(fs.flushed[5].asStreams, (std::vector<std::string>{std::string(12, '5'), std::string(3000, 'z')}));
}

TEST_F(SingleFileTest, FileThatCannotBeHeldAloneIsErasedOnlyWhenItReadsBackAsTheLastPass) {
  fs.bShared = true;
  EraseFile("alone.txt", std::string(3000, 'a'));
  EXPECT_EQ(LastRemoved(), std::string(3000, '5'));
  for (const auto& [pName, change] : {std::pair<const char*, std::function<void(std::string&)>>{
                                          "appended.log", [](std::string& s) { s += "new line"; }},
                                      {"rewritten.db", [](std::string& s) { s[10] = 'r'; }},
                                      {"truncated.txt", [](std::string& s) { s.resize(10); }}}) {
    fs.onFlush = [&](MemoryFileSystem::Node& node) {
      if (fs.flushed.size() == 5) change(node.sContent);  // during the last pass
    };
    fs.flushed.clear();
    EraseFile(pName, std::string(3000, 'a'));
    EXPECT_EQ(view.Lines()[0], std::string("Could not erased file ") + pName + " [in 0.1 seconds]");
    EXPECT_EQ(view.Lines()[1], "  Reason: changed by another program during the erase");
    EXPECT_TRUE(fs.Find("/home/u/" + std::string(pName))) << pName;
  }
}

TEST_F(SingleFileTest, FileBeyondTwoGigabytesIsCoveredWholeAndGivenBackInSteps) {
  const int64_t lLength = (int64_t{1} << 31) + 100;
  const int64_t lWhole = (lLength / 4096 + 1) * 4096;
  fs.lBlock = 4096;
  MemoryFileSystem::Node& node = fs.AddFile("/home/u/huge.img", "");
  node.lLength = lLength;
  node.lAllocated = lWhole;
  view.sTimes = "0";
  Erase("/home/u/huge.img", false);
  EXPECT_EQ(fs.lBytesWritten, lWhole);
  EXPECT_EQ(fs.flushed.back().lLength, fs.lBytesWritten);
  EXPECT_EQ(fs.iTruncations, 16);
  EXPECT_EQ(view.Lines().back(), "Erasing huge.img  [2,147,483,748 bytes]");
}

TEST_F(SingleFileTest, LongFileShowsItsPassShareAndTimeLeftInTheTitleAndOnTheTaskbar) {
  clock.dblFrameStep = 0.05;  // each look at the clock sees 50 ms more
  fs.AddFile("/home/u/quick.txt", std::string(100, 'q'));
  Erase("/home/u/quick.txt", false);
  const size_t lQuickCaptions = view.captions.size();
  fs.AddFile("/home/u/long.img", "").lLength = 64 << 20;
  std::vector<int> aiTaskbar;
  view.onPump = [&] { aiTaskbar.push_back(view.iTaskPercent); };
  Erase("/home/u/long.img", false);
  const std::regex note(R"(Tarnwipe - \(c\) the Tarnwipe team  pass [1-6] of 6, (\d+) %, about \d+ (s|min) left)");
  int iLast = 0, iNotes = 0;
  for (size_t i = 0; i < view.captions.size(); ++i) {
    std::smatch match;
    if (!std::regex_match(view.captions[i], match, note)) continue;
    EXPECT_GE(i, lQuickCaptions) << "a quick file shows no progress";
    EXPECT_GE(std::stoi(match[1]), iLast) << view.captions[i];
    iLast = std::stoi(match[1]), ++iNotes;
  }
  const auto withPass = [](const std::string& s) { return s.find("  pass ") != std::string::npos; };
  EXPECT_TRUE(iNotes >= 3 && iNotes == std::count_if(view.captions.begin(), view.captions.end(), withPass));
  EXPECT_TRUE(std::any_of(aiTaskbar.begin(), aiTaskbar.end(), [](int i) { return i > 0 && i <= 100; }));
  EXPECT_EQ(view.iTaskPercent, -1);
  EXPECT_EQ(view.captions.back(), "Tarnwipe - (c) the Tarnwipe team");
  for (const auto& [iPass, iPercent, dblLeft, pNote] :
       {std::tuple{2, 42, 65.0, "pass 3 of 6, 42 %, about 2 min left"}, {0, 1, 12.2, "pass 1 of 6, 1 %, about 13 s left"},
        {5, 99, 3725.0, "pass 6 of 6, 99 %, about 1 h 3 min left"}}) {
    EXPECT_EQ(ProgressNote(iPass, 5, iPercent, dblLeft), pNote);
  }
}

}  // namespace
}  // namespace tarnwipe::test
