// The erase engine over the in-memory file layer: passes, block coverage, failures that keep
// the file, and what the window sees.
#include "engine/eraser.h"

#include <gtest/gtest.h>

#include "fake_form_view.h"
#include "fake_seams.h"
#include "memory_file_system.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

class EraserTest : public ::testing::Test {
 protected:
  int64_t Erase(const std::string& sPath, int64_t lBytes, int32_t lPasses = 5) {
    eraser.EraseFile(sPath, lPasses, lBytes);
    return lBytes;
  }

  FakeFormView view;
  FakeClock clock;
  MemoryFileSystem fs;
  const std::string sDir = fs.AddFolder("/data");
  EventPump pump{view, clock};
  const Separators seps;
  Eraser eraser{view, fs, clock, pump, seps};
  Confinement held{fs, sDir};
};

TEST_F(EraserTest, EveryPassCoversTheFileWithItsOwnFillerAndIsFlushed) {
  for (const int32_t lPasses : {0, 5, 25}) {
    fs.writes.clear();
    fs.iFlushes = 0;
    fs.AddFile(sDir + "secret.bin", std::string(1500, 'S'));
    EXPECT_EQ(Erase(sDir + "secret.bin", 1500, lPasses), 1500);
    ASSERT_EQ(fs.writes.size(), static_cast<size_t>(lPasses + 1));
    for (int i = 0; i <= lPasses; ++i) {
      EXPECT_EQ(fs.writes[i].lOffset, 0);
      EXPECT_EQ(fs.writes[i].lSize, 2048);
      EXPECT_EQ(fs.writes[i].cFiller, static_cast<char>('0' + i));
      EXPECT_TRUE(fs.writes[i].bUniform);
    }
    EXPECT_EQ(fs.iFlushes, lPasses + 1);
    EXPECT_EQ(fs.removals.back().sContent, std::string(2048, static_cast<char>('0' + lPasses)));
    EXPECT_FALSE(fs.Exists(sDir + "secret.bin"));
  }
}

TEST_F(EraserTest, FileGrowsToTheBlockAfterItsLastByte) {
  for (const auto& [lLength, lFinal] : {std::pair<int64_t, size_t>{0, 1024}, {1023, 1024}, {1024, 2048}, {1025, 2048}}) {
    const std::string sPath = fs.AddFile(sDir + "f", std::string(static_cast<size_t>(lLength), 'x'));
    EXPECT_EQ(Erase(sPath, lLength), lLength);
    EXPECT_EQ(fs.removals.back().sContent, std::string(lFinal, '5')) << lLength;
  }
}

TEST_F(EraserTest, FailuresKeepTheFileAndAreReported) {
  struct Case {
    const char* pWhat;
    int iFailWriteAt, iFailFlushAt;
    int64_t lNoRoomFrom;
    int32_t lPasses;
  };
  for (const Case& c : {Case{"write", 2, -1, -1, 5}, Case{"flush", -1, 2, -1, 5},
                        Case{"no room in the file", -1, -1, 1000, 5}, Case{"count no number", -1, -1, -1, -1}}) {
    fs.writes.clear();
    fs.iFlushes = 0;
    fs.iFailWriteAt = c.iFailWriteAt;
    fs.iFailFlushAt = c.iFailFlushAt;
    fs.lNoRoomFrom = c.lNoRoomFrom;
    const std::string sPath = fs.AddFile(sDir + "kept.txt", std::string(1500, 'D'));
    EXPECT_EQ(Erase(sPath, 1500, c.lPasses), -1) << c.pWhat;
    EXPECT_TRUE(fs.Exists(sPath)) << c.pWhat;
    EXPECT_EQ(view.Lines()[0], "Could not erased file kept.txt [in 0.1 seconds]");
  }
  EXPECT_TRUE(fs.removals.empty());
  fs.nodes[fs.AddFile(sDir + "locked", "l")].bRefused = true;
  EXPECT_EQ(Erase(sDir + "locked", 1), -1);
  EXPECT_EQ(Erase(sDir + "vanished", 1), -1);
}

TEST_F(EraserTest, FullDiskRefusingOnlyTheGrowthStillErases) {
  fs.lNoRoomFrom = 1500;
  EXPECT_EQ(Erase(fs.AddFile(sDir + "full.txt", std::string(1500, 'F')), 1500), 1500);
  EXPECT_EQ(fs.removals.back().sContent, std::string(1500, '5'));
}

TEST_F(EraserTest, LinkIsRemovedWithoutWriting) {
  fs.AddFile(sDir + "link", "", kAttrArchive | kAttrLink);
  EXPECT_EQ(Erase(sDir + "link", 0), 0);
  EXPECT_FALSE(fs.Exists(sDir + "link"));
  EXPECT_TRUE(fs.writes.empty());
}

TEST_F(EraserTest, FileBeyondTwoGigabytesIsCoveredWholeAndGivenBackInSteps) {
  const int64_t lLength = (int64_t{1} << 31) + 100;
  fs.nodes[fs.AddFile(sDir + "huge.img", "")].lLength = lLength;
  EXPECT_EQ(Erase(sDir + "huge.img", lLength, 0), lLength);
  int64_t lCovered = 0;
  for (const auto& write : fs.writes) {
    EXPECT_EQ(write.lOffset, lCovered);
    lCovered += write.lSize;
  }
  EXPECT_EQ(lCovered, (lLength / 1024 + 1) * 1024);
  EXPECT_EQ(fs.truncations.size(), 16U);
  EXPECT_EQ(view.Lines().back(), "Erasing huge.img  [2,147,483,748 bytes]");
}

TEST_F(EraserTest, WindowIsLetThroughAboutOnceAFrameAndDotsCycle) {
  clock.dblFrameStep = 0.001;  // a block takes far less than a frame
  EXPECT_EQ(Erase(fs.AddFile(sDir + "big.bin", std::string(1 << 20, 'B')), 1 << 20), 1 << 20);
  EXPECT_LT(view.iPumps, 40);  // 6 passes of 1025 blocks
  EXPECT_EQ(view.sProgress.size(), static_cast<size_t>(6 * 1025 % Eraser::kDotCycle));
}

}  // namespace
}  // namespace tarnwipe::test
