// The erase engine on real files in a temporary folder.
#include "engine/eraser.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/interval.h"
#include "runs/confinement.h"
#include "fake_clock.h"
#include "fake_form_view.h"
#include "recording_file_system.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class EraserTest : public ::testing::Test {
 protected:
  // Erases sPath with the count in the pass-count box; returns lBytes afterwards.
  int64_t Erase(const std::string& sPath, int64_t lBytes) {
    record.sTarget = sPath;
    eraser.EraseFile(lBytes);
    return lBytes;
  }

  TempFolder temp;
  FakeFormView view;
  FakeClock clock;
  RecordingFileSystem fs;
  RunRecord record;
  Separators seps;
  EventPump pump{view, clock};
  Eraser eraser{record, view, fs, clock, pump, seps};
  Confinement held{fs, temp.Path()};
};

struct PassCase {
  const char* pCount;
  int iPasses;
};

class EraserPassTest : public EraserTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(EraserPassTest, EveryPassCoversTheFileWithItsOwnFillerAndIsFlushed) {
  view.sTimes = GetParam().pCount;
  const std::string sPath = temp.Write("secret.bin", std::string(1500, 'S'));

  EXPECT_EQ(Erase(sPath, 1500), 1500);

  const int iPasses = GetParam().iPasses;
  ASSERT_EQ(static_cast<int>(fs.writes.size()), iPasses);
  for (int i = 0; i < iPasses; ++i) {
    EXPECT_EQ(fs.writes[i].lOffset, 0);
    EXPECT_EQ(fs.writes[i].lSize, 2048);
    EXPECT_EQ(fs.writes[i].cFiller, static_cast<char>(0x30 + i));
    EXPECT_TRUE(fs.writes[i].bUniform);
  }
  EXPECT_EQ(fs.iFlushes, iPasses);
  ASSERT_EQ(fs.removals.size(), 1U);
  EXPECT_EQ(fs.removals[0].sContent, std::string(2048, static_cast<char>(0x30 + iPasses - 1)));
  EXPECT_FALSE(Exists(sPath));
  EXPECT_EQ(view.sProgress.size(), static_cast<size_t>(iPasses * 2 % Eraser::kDotCycle));
  EXPECT_TRUE(record.sTarget.empty());
  EXPECT_EQ(record.iFileNo, 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, EraserPassTest,
                         ::testing::Values(PassCase{"0", 1}, PassCase{"5", 6}, PassCase{"25", 26}),
                         [](const auto& info) { return std::string("count") + info.param.pCount; });

TEST_F(EraserTest, FileGrowsToTheBlockAfterItsLastByte) {
  for (const auto& [lLength, lFinal] : {std::pair<int64_t, int64_t>{0, 1024}, {1023, 1024}, {1024, 2048}, {1500, 2048}}) {
    fs.removals.clear();
    const std::string sPath = temp.Write("f" + std::to_string(lLength), std::string(static_cast<size_t>(lLength), 'x'));
    EXPECT_EQ(Erase(sPath, lLength), lLength);
    ASSERT_EQ(fs.removals.size(), 1U) << lLength;
    EXPECT_EQ(fs.removals[0].lSizeBefore, lFinal) << lLength;
    EXPECT_EQ(fs.removals[0].sContent, std::string(static_cast<size_t>(lFinal), '5')) << lLength;
  }
  EXPECT_EQ(view.Lines().front(), "Erasing f1500  [1,500 bytes]");
}

TEST_F(EraserTest, ReadOnlyFileIsErased) {
  const std::string sPath = temp.Write("ro.txt", "private");
  ::chmod(sPath.c_str(), 0444);
  EXPECT_EQ(Erase(sPath, 7), 7);
  EXPECT_FALSE(Exists(sPath));
}

TEST_F(EraserTest, FilesThatCannotBeOverwrittenAreKeptAndReported) {
  const std::string sLocked = temp.Write("locked.txt", "locked content");
  const int fd = ::open(sLocked.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  EXPECT_EQ(Erase(sLocked, 14), -1);
  ::close(fd);
  EXPECT_EQ(ReadFile(sLocked), "locked content");
  ASSERT_EQ(view.Lines().size(), 2U);
  EXPECT_EQ(view.Lines()[0], "Could not erased file locked.txt [in 0.1 seconds]");
  EXPECT_EQ(view.Lines()[1], "Erasing locked.txt  [14 bytes]");

  EXPECT_EQ(Erase(temp.Path() + "vanished.txt", 10), -1);
  EXPECT_EQ(view.Lines()[0], "Could not erased file vanished.txt [in 0.1 seconds]");

  const std::string sFifo = temp.Path() + "pipe";
  ASSERT_EQ(::mkfifo(sFifo.c_str(), 0600), 0);
  EXPECT_EQ(Erase(sFifo, 0), -1);
  EXPECT_TRUE(Exists(sFifo));

  const std::string sShared = temp.Write("shared.txt", "backup copy");
  ASSERT_EQ(::link(sShared.c_str(), (temp.Path() + "other-name.txt").c_str()), 0);
  EXPECT_EQ(Erase(sShared, 11), -1);
  EXPECT_EQ(ReadFile(temp.Path() + "other-name.txt"), "backup copy");
  EXPECT_TRUE(Exists(sShared));

  EXPECT_EQ(Erase(temp.MakeFolder("folder"), 0), -1);
  EXPECT_TRUE(fs.writes.empty());
}

TEST_F(EraserTest, LinkIsRemovedAndItsTargetLeftAlone) {
  const std::string sTarget = temp.Write("target.txt", "keep me");
  const std::string sLink = temp.Path() + "link";
  ASSERT_EQ(::symlink(sTarget.c_str(), sLink.c_str()), 0);
  EXPECT_EQ(Erase(sLink, 0), 0);
  EXPECT_FALSE(Exists(sLink));
  EXPECT_EQ(ReadFile(sTarget), "keep me");
  EXPECT_TRUE(fs.writes.empty());
}

TEST_F(EraserTest, FailedWriteOrFlushKeepsTheFileAndReportsIt) {
  for (const bool bFlush : {false, true}) {
    fs.iFailWriteAt = bFlush ? -1 : static_cast<int>(fs.writes.size()) + 2;
    fs.iFailFlushAt = bFlush ? fs.iFlushes + 2 : -1;
    const std::string sPath = temp.Write("failing.txt", std::string(3000, 'D'));
    EXPECT_EQ(Erase(sPath, 3000), -1);
    EXPECT_TRUE(Exists(sPath));
    EXPECT_EQ(view.Lines()[0], "Could not erased file failing.txt [in 0.1 seconds]");
    EXPECT_TRUE(fs.removals.empty());
  }
}

TEST_F(EraserTest, FullDiskRefusingOnlyTheGrowthStillErases) {
  const std::string sPath = temp.Write("full.txt", std::string(1500, 'F'));
  fs.lNoRoomFrom = 1500;
  EXPECT_EQ(Erase(sPath, 1500), 1500);
  EXPECT_FALSE(Exists(sPath));

  const std::string sShort = temp.Write("short.txt", std::string(1500, 'F'));
  fs.lNoRoomFrom = 1000;
  EXPECT_EQ(Erase(sShort, 1500), -1);
  EXPECT_TRUE(Exists(sShort));
}

TEST_F(EraserTest, CountThatIsNoNumberKeepsTheFile) {
  for (const char* pCount : {"", "x", "-1"}) {
    view.sTimes = pCount;
    const std::string sPath = temp.Write("c.txt", "content");
    EXPECT_EQ(Erase(sPath, 7), -1) << pCount;
    EXPECT_EQ(ReadFile(sPath), "content") << pCount;
  }
}

TEST_F(EraserTest, FileBeyondTwoGigabytesIsCoveredWhole) {
  const int64_t lLength = (int64_t{1} << 31) + 100;
  const std::string sPath = temp.Path() + "huge.img";
  const int fd = ::open(sPath.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::ftruncate(fd, lLength), 0);
  ::close(fd);
  fs.bSwallowWrites = true;
  view.sTimes = "0";

  EXPECT_EQ(Erase(sPath, lLength), lLength);

  int64_t lCovered = 0;
  for (const auto& write : fs.writes) {
    EXPECT_EQ(write.lOffset, lCovered);
    EXPECT_EQ(write.lOffset % 4096, 0);
    lCovered += write.lSize;
  }
  EXPECT_EQ(lCovered, (lLength / 1024 + 1) * 1024);
  // Its blocks are given back in steps before it is deleted, each a short call.
  ASSERT_EQ(fs.truncations.size(), 16U);
  EXPECT_EQ(fs.truncations.back(), 1024);
  EXPECT_EQ(view.Lines().front(), "Erasing huge.img  [2,147,483,748 bytes]");
  EXPECT_FALSE(Exists(sPath));
}

TEST_F(EraserTest, WindowIsLetThroughAboutOnceAFrameNotOncePerBlock) {
  clock.dblFrameStep = 0.001;  // a block takes far less than a frame
  const std::string sPath = temp.Write("big.bin", std::string(1 << 20, 'B'));
  EXPECT_EQ(Erase(sPath, 1 << 20), 1 << 20);
  // 6 passes of 1025 blocks: a handful of frames, one pump at the end of the file.
  EXPECT_LT(view.iPumps, 40);
  EXPECT_EQ(view.sProgress.size(), static_cast<size_t>(6 * 1025 % Eraser::kDotCycle));
}

TEST(GetInterval, AllowsForMidnightAndNeverGivesZero) {
  EXPECT_FLOAT_EQ(GetInterval(86390.0F, 5.0F), 15.0F);
  EXPECT_FLOAT_EQ(GetInterval(42.0F, 42.0F), 0.1F);
  EXPECT_FLOAT_EQ(GetInterval(10.0F, 25.5F), 15.5F);
}

TEST_F(EraserTest, MessagesGoOnTopAndTimedOnesCarryTheirTime) {
  eraser.ReportElapsed("first", false);
  EXPECT_EQ(view.sText, "first");
  eraser.ReportElapsed("second", false);
  EXPECT_EQ(view.sText, "second\r\nfirst");
  record.sngFileStart = 10.0F;
  clock.sngNow = 12.5F;
  eraser.ReportElapsed("third", true);
  EXPECT_EQ(view.Lines().front(), "third [in 2.5 seconds]");
}

TEST_F(EraserTest, ProgressCaptionRunsThroughEightySevenDots) {
  for (int i = 0; i < 87; ++i) eraser.ShowProgress();
  EXPECT_EQ(view.sProgress, std::string(87, '.'));
  eraser.ShowProgress();
  EXPECT_EQ(view.sProgress, "");
  eraser.ShowProgress();
  EXPECT_EQ(view.sProgress, ".");
  EXPECT_EQ(view.iProgressTop, 4700);
}

}  // namespace
}  // namespace tarnwipe::test
