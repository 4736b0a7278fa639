// Free-space runs over the memory layer: every pass over all the free space, flushed, the
// fillers gone afterwards whatever happened, and the removed names of every folder overwritten
// where the file system keeps them.
#include "run_fixture.h"
#include "runs/free_space_run.h"

namespace tarnwipe::test {
namespace {

class FreeSpaceRunTest : public RunFixture {
 protected:
  FreeSpaceRunTest() {
    fs.space = {3 << 20, 5 << 20, "vfat", sStick};
    fs.lRoom = kRoom;
  }
  std::string EraseFreeSpace() { return Erase({{sStick, TargetKind::kFreeSpace}}); }
  // Nothing of the run is left: its fillers, its work folder, the room they took.
  void ExpectNothingLeft() {
    EXPECT_TRUE(fs.iFillers == 0 && fs.lRoom == kRoom && !fs.Find(sStick + FreeSpaceRun::kWorkFolder));
  }

  static constexpr int64_t kRoom = (3 << 20) + 1000;  // a partial block more than the disk tells
  const std::string sStick = fs.AddFolder("/media/stick");
};

TEST_F(FreeSpaceRunTest, EveryPassCoversAllTheFreeSpaceAndNothingIsLeft) {
  ASSERT_EQ(EraseFreeSpace(), "");
  EXPECT_EQ(pRun->Question(), "Erase the free space of " + sStick + " (vfat, 3.00 MBytes free) with 6 pass(es)? Other "
                              "programs see the disk full until the run ends.\r\n\r\n(Press <Esc> to stop!)");
  // The filler that met the full disk was flushed at once and again before the last round of
  // small fillers, then every pass's end flushed it.
  std::string sPasses;
  for (const std::string& sFlushed : fs.fillerFlushes) {
    EXPECT_EQ(sFlushed, std::string(kRoom, sFlushed[0]));
    if (sPasses.empty() || sPasses.back() != sFlushed[0]) sPasses += sFlushed[0];
  }
  EXPECT_TRUE(sPasses == "012345" && fs.fillerFlushes.size() == 8) << sPasses;
  EXPECT_TRUE(reporter.freeSpace.lFilled == kRoom && reporter.freeSpace.lFree == 5 << 20 && !reporter.freeSpace.ec);
  ExpectNothingLeft();
  EXPECT_EQ(reporter.freeSpace.lFolders, 0) << "this file system keeps no removed names";
  // Where it keeps them, every folder of the disk gets its freed entries overwritten.
  fs.bNamesStay = true;
  fs.AddFolder(sStick + "a/b");
  EraseFreeSpace();
  EXPECT_EQ(reporter.freeSpace.lFolders, 3);
  // A journal is turned over last, until it logged its whole length anew; one that logs nothing
  // more is left as it is.
  for (const int64_t lPerRewrite : {300000, 0}) {
    fs.space.lJournal = 1 << 20;
    fs.lJournalLogged = 5;
    fs.lLoggedPerRewrite = lPerRewrite;
    EraseFreeSpace();
    EXPECT_EQ(reporter.freeSpace.lJournalTurned, lPerRewrite > 0 ? 1 << 20 : 0);
    EXPECT_EQ(fs.lJournalLogged, lPerRewrite > 0 ? 5 + 4 * lPerRewrite : 5);
  }
}

TEST_F(FreeSpaceRunTest, AStopOrAFailedWriteEndsTheRunAndGivesTheSpaceBack) {
  reporter.onBreathe = [&] { bStop = fs.fillerFlushes.size() == 4; };
  EraseFreeSpace();
  EXPECT_TRUE(reporter.freeSpace.bStopped && fs.fillerFlushes.size() == 4);
  ExpectNothingLeft();
  reporter.onBreathe = nullptr;
  bStop = false;
  fs.iWrites = 0;
  fs.iFailWriteAt = 2;
  EraseFreeSpace();
  EXPECT_EQ(reporter.freeSpace.ec, std::errc::io_error);
  ExpectNothingLeft();
  // A disk that could not place all a filler took gives the rest back: no failure, the later
  // fillers take it, and every pass covers all the room again.
  fs.iFailWriteAt = -1;
  fs.iShortFlushAt = 1;
  fs.fillerFlushes.clear();
  EXPECT_EQ(EraseFreeSpace(), "");
  EXPECT_TRUE(!reporter.freeSpace.ec && reporter.freeSpace.lFilled == kRoom) << reporter.freeSpace.ec.message();
  size_t lLastPass = 0;
  for (const std::string& sFlushed : fs.fillerFlushes) lLastPass += sFlushed[0] == '5' ? sFlushed.size() : 0;
  EXPECT_EQ(lLastPass, kRoom);
  ExpectNothingLeft();
  fs.AddFile(sStick + "file", "f");
  EXPECT_EQ(Erase({{sStick + "file", TargetKind::kFreeSpace}}), "Map not found!");
}

}  // namespace
}  // namespace tarnwipe::test
