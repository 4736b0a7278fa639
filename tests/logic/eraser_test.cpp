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
  // Erases /data/<sName>, made with sContent; returns lBytes afterwards.
  int64_t Erase(const std::string& sName, const std::string& sContent, int32_t lPasses = 5) {
    fs.AddFile("/data/" + sName, sContent);
    int64_t lBytes = static_cast<int64_t>(sContent.size());
    eraser.EraseFile("/data/" + sName, lPasses, lBytes);
    return lBytes;
  }
  std::string Last() const { return fs.removals.empty() ? "" : fs.removals.back().second; }

  FakeFormView view;
  FakeClock clock;
  MemoryFileSystem fs;
  EventPump pump{view, clock};
  const Separators seps;
  Eraser eraser{view, fs, clock, pump, seps};
  Confinement held{fs, fs.AddFolder("/data")};
};

TEST_F(EraserTest, EveryPassCoversTheFileFromItsFirstToPastItsLastBlockAndIsFlushed) {
  for (const int32_t lPasses : {0, 25}) {
    fs.writes.clear();
    fs.iFlushes = 0;
    EXPECT_EQ(Erase("secret.bin", std::string(1500, 'S'), lPasses), 1500);
    ASSERT_EQ(fs.writes.size(), static_cast<size_t>(lPasses + 1));
    for (int i = 0; i <= lPasses; ++i) {
      EXPECT_EQ(fs.writes[i].lOffset + fs.writes[i].lSize, 2048);
      EXPECT_EQ(fs.writes[i].cFiller, static_cast<char>('0' + i));
      EXPECT_TRUE(fs.writes[i].bUniform);
    }
    EXPECT_EQ(fs.iFlushes, lPasses + 1);
    EXPECT_FALSE(fs.Exists("/data/secret.bin"));
  }
  for (const auto& [lLength, lFinal] : {std::pair<size_t, size_t>{0, 1024}, {1023, 1024}, {1024, 2048}, {1025, 2048}}) {
    EXPECT_EQ(Erase("f", std::string(lLength, 'x')), static_cast<int64_t>(lLength));
    EXPECT_EQ(Last(), std::string(lFinal, '5')) << lLength;
  }
}

TEST_F(EraserTest, FailuresKeepTheFileAndAreReported) {
  struct Case {
    int iFailWriteAt, iFailFlushAt, lNoRoomFrom, lPasses;
  };
  for (const Case& c : {Case{2, -1, -1, 5}, Case{-1, 2, -1, 5}, Case{-1, -1, 1000, 5}, Case{-1, -1, -1, -1}}) {
    fs.writes.clear();
    fs.iFlushes = 0;
    fs.iFailWriteAt = c.iFailWriteAt;
    fs.iFailFlushAt = c.iFailFlushAt;
    fs.lNoRoomFrom = c.lNoRoomFrom;
    EXPECT_EQ(Erase("kept.txt", std::string(1500, 'D'), c.lPasses), -1) << c.lPasses << c.lNoRoomFrom;
    EXPECT_TRUE(fs.Exists("/data/kept.txt"));
    EXPECT_EQ(view.Lines()[0], "Could not erased file kept.txt [in 0.1 seconds]");
  }
  EXPECT_TRUE(fs.removals.empty());
  // A full disk that refuses only the growth past the file's end still erases every byte.
  fs.lNoRoomFrom = 1500;
  EXPECT_EQ(Erase("full.txt", std::string(1500, 'F')), 1500);
  EXPECT_EQ(Last(), std::string(1500, '5'));
}

TEST_F(EraserTest, LinkIsRemovedWithoutWritingAndARefusedFileIsKept) {
  fs.AddFile("/data/link", "", kAttrArchive | kAttrLink);
  int64_t lBytes = 0;
  eraser.EraseFile("/data/link", 5, lBytes);
  EXPECT_EQ(lBytes, 0);
  EXPECT_FALSE(fs.Exists("/data/link"));
  fs.AddFile("/data/locked", "l").bRefused = true;
  eraser.EraseFile("/data/locked", 5, lBytes);
  EXPECT_EQ(lBytes, -1);
  EXPECT_TRUE(fs.writes.empty());
}

TEST_F(EraserTest, FileBeyondTwoGigabytesIsCoveredWholeAndGivenBackInSteps) {
  int64_t lBytes = (int64_t{1} << 31) + 100;
  fs.AddFile("/data/huge.img", "").lLength = lBytes;
  eraser.EraseFile("/data/huge.img", 0, lBytes);
  int64_t lCovered = 0;
  for (const auto& write : fs.writes) {
    EXPECT_EQ(write.lOffset, lCovered);
    lCovered += write.lSize;
  }
  EXPECT_EQ(lCovered, (lBytes / 1024 + 1) * 1024);
  EXPECT_EQ(fs.truncations.size(), 16U);
  EXPECT_EQ(view.Lines().back(), "Erasing huge.img  [2,147,483,748 bytes]");
}

TEST_F(EraserTest, WindowIsLetThroughAboutOnceAFrameAndDotsCycle) {
  clock.dblFrameStep = 0.001;  // a block takes far less than a frame
  EXPECT_EQ(Erase("big.bin", std::string(1 << 20, 'B')), 1 << 20);
  EXPECT_LT(view.iPumps, 40);  // 6 passes of 1025 blocks
  EXPECT_EQ(view.sProgress.size(), static_cast<size_t>(6 * 1025 % Eraser::kDotCycle));
}

}  // namespace
}  // namespace tarnwipe::test
