// The directory walker over the in-memory file layer: order, totals, patterns, masks and caps.
#include "walker/c_dir_drill.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

using Events = std::vector<std::string>;

// Records every event, paths relative to /walk/, answering with the byte counts it is given
// and cancelling the folder sCancel.
class Recorder : public DirDrillEvents {
 public:
  Events events;
  std::map<std::string, int64_t> bytes;
  std::string sCancel = "none";
  int32_t lFiles = -1, lFolders = -1;
  double dblKBytes = -1;

  void NewFile(const std::string& sFileSpec, int64_t& lBytes, bool&) override {
    events.push_back("F " + sFileSpec.substr(6));
    if (bytes.count(sFileSpec.substr(6)) != 0) lBytes = bytes[sFileSpec.substr(6)];
  }
  void NewFolder(const std::string& sFolderSpec, bool& bCancel) override {
    events.push_back("D " + sFolderSpec.substr(6));
    bCancel = sFolderSpec.substr(6) == sCancel;
  }
  void Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) override {
    lFiles = lNrTotalFiles;
    lFolders = lNrTotalFolders;
    dblKBytes = dblTotalKBytes;
  }
};

class DirDrillTest : public ::testing::Test {
 protected:
  DirDrillTest() {
    dd.SetEvents(&recorder);
    dd.SetAttributeMask(kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  }
  void Make(const Events& asFiles) {
    for (const std::string& sFile : asFiles) fs.AddFile("/walk/" + sFile, "");
  }
  Events Walk(const std::string& sPattern = "*.*") {
    recorder.events.clear();
    dd.SetPattern(sPattern);
    dd.BeginSearch("/walk/");
    return recorder.events;
  }

  MemoryFileSystem fs;
  CDirDrill dd{fs, "/"};
  Recorder recorder;
};

TEST_F(DirDrillTest, DepthFirstBothListingsBeforeTheFilesAndEveryFolderStored) {
  Make({"a.txt", "B/b.txt", "B/C/c.txt", "D/d.txt"});
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "F B/b.txt", "D B/C/", "F B/C/c.txt", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFolders, 4);
  const Events asDirs = dd.DirsDone();
  EXPECT_EQ(Events(asDirs.begin(), asDirs.begin() + 5), (Events{"", "/walk/B", "/walk/D", "/walk/B/C", ""}));

  recorder.sCancel = "B/";  // a cancelled visit still counts its folder
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFolders, 3);
  dd.SetRecursive(false);
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt"}));
  EXPECT_EQ(recorder.lFolders, 3);
}

TEST_F(DirDrillTest, ByteCountsOfTheReceiverMakeTheTotals) {
  Make({"1.txt", "2.txt", "3.txt", "sub/4.txt"});
  recorder.bytes = {{"1.txt", 2048}, {"3.txt", -1}, {"sub/4.txt", int64_t{3} << 31}};
  Walk();
  // 2.txt keeps the count left for 1.txt; 3.txt is declined and not counted.
  EXPECT_EQ(recorder.lFiles, 3);
  EXPECT_DOUBLE_EQ(recorder.dblKBytes, 4.0 + 6.0 * 1024 * 1024);
}

TEST_F(DirDrillTest, PatternElementsAreMatchedOneAfterTheOther) {
  dd.SetPattern("*.txt, *.log");
  EXPECT_EQ(dd.Pattern(), "*.txt;*.log");
  Make({"a.txt", "b.LOG", "noext", "c1.dat", "sub/d.txt"});
  EXPECT_EQ(Walk("*.txt, *.log"), (Events{"D ", "F a.txt", "F b.LOG", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk(""), (Events{"D ", "D sub/"}));
  EXPECT_EQ(Walk("c?.dat;*.TXT"), (Events{"D ", "F c1.dat", "F a.txt", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk("noext.*;"), (Events{"D ", "F noext", "F a.txt", "F b.LOG", "F c1.dat", "F noext", "D sub/", "F sub/d.txt"}));
}

TEST_F(DirDrillTest, AttributeMaskChoosesTheFilesAndHiddenFoldersAreNeverEntered) {
  fs.AddFile("/walk/readonly", "", kAttrArchive | kAttrReadOnly);
  fs.AddFile("/walk/fifo", "", kAttrSystem);
  Make({".dotfile", ".git/config"});
  EXPECT_EQ(Walk(), (Events{"D ", "F .dotfile", "F fifo", "F readonly"}));
  dd.SetAttributeMask(kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(Walk(), (Events{"D ", "F readonly"}));
}

TEST_F(DirDrillTest, VisitsAndSearchesStopAfterTheirCaps) {
  for (int i = 0; i < 3005; ++i) fs.AddFile("/walk/f" + std::to_string(i), "");
  Walk("*.*;f1*");
  EXPECT_EQ(recorder.lFiles, 3002);  // 3001 from the first element, one more from the second
  for (int i = 0; i < 2999; ++i) fs.AddFolder("/walk/d" + std::to_string(10000 + i));
  fs.AddFolder("/walk/d10000/x");
  fs.AddFolder("/walk/d10000/y");
  Walk("");
  EXPECT_EQ(recorder.lFolders, 3001);
  EXPECT_EQ(dd.DirsDone()[3000], "/walk/d10000/x");
}

}  // namespace
}  // namespace tarnwipe::test
