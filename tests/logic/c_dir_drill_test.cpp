// The directory walker over the in-memory file layer: order, totals, patterns, masks and caps.
#include "walker/c_dir_drill.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

using Events = std::vector<std::string>;

// Records every event, paths relative to the walked folder /walk/, and answers with the byte
// counts and the cancelled folder it is given.
class Recorder : public DirDrillEvents {
 public:
  Events events;
  std::map<std::string, int64_t> bytes;
  std::string sCancel = "none";  // a folder whose visit is cancelled
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
  void MakeTree() {
    for (const char* pFile : {"a.txt", "B/b.txt", "B/C/c.txt", "D/d.txt"}) fs.AddFile(sRoot + pFile, "x");
  }
  Events Walk(const std::string& sPattern = "*.*") {
    recorder.events.clear();
    dd.SetPattern(sPattern);
    dd.BeginSearch(sRoot);
    return recorder.events;
  }

  MemoryFileSystem fs;
  const std::string sRoot = fs.AddFolder("/walk");
  CDirDrill dd{fs, "/"};
  Recorder recorder;
};

TEST_F(DirDrillTest, DepthFirstWithBothListingsBeforeTheFilesAndFoldersStored) {
  MakeTree();
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "F B/b.txt", "D B/C/", "F B/C/c.txt", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFolders, 4);
  const std::vector<std::string> asDirs = dd.DirsDone();
  EXPECT_EQ(asDirs.size(), 31U);
  EXPECT_EQ((Events{asDirs[0], asDirs[1], asDirs[2], asDirs[3], asDirs[4]}),
            (Events{"", sRoot + "B", sRoot + "D", sRoot + "B/C", ""}));

  dd.SetRecursive(false);
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt"}));
  EXPECT_EQ(recorder.lFolders, 3);
}

TEST_F(DirDrillTest, CancelledFolderIsSkippedButCounted) {
  MakeTree();
  recorder.sCancel = "B/";
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFiles, 2);
  EXPECT_EQ(recorder.lFolders, 3);
}

TEST_F(DirDrillTest, ByteCountsOfTheReceiverMakeTheTotals) {
  for (const char* pFile : {"1.txt", "2.txt", "3.txt", "sub/4.txt"}) fs.AddFile(sRoot + pFile, "");
  recorder.bytes = {{"1.txt", 2048}, {"3.txt", -1}, {"sub/4.txt", int64_t{3} << 31}};
  Walk();
  // 2.txt keeps the count left for 1.txt; 3.txt is declined and not counted.
  EXPECT_EQ(recorder.lFiles, 3);
  EXPECT_DOUBLE_EQ(recorder.dblKBytes, 4.0 + 6.0 * 1024 * 1024);
}

TEST_F(DirDrillTest, PatternListsAreNormalisedAndMatchedPerElement) {
  dd.SetPattern("*.txt, *.log");
  EXPECT_EQ(dd.Pattern(), "*.txt;*.log");
  for (const char* pFile : {"a.txt", "b.LOG", "noext", "c1.dat", "sub/d.txt"}) fs.AddFile(sRoot + pFile, "");
  EXPECT_EQ(Walk("*.txt, *.log"), (Events{"D ", "F a.txt", "F b.LOG", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk(""), (Events{"D ", "D sub/"}));
  EXPECT_EQ(Walk("*.TXT;"), (Events{"D ", "F a.txt", "F a.txt", "F b.LOG", "F c1.dat", "F noext", "D sub/",
                                    "F sub/d.txt", "F sub/d.txt"}));
  EXPECT_EQ(Walk("c?.dat;?.txt"), (Events{"D ", "F c1.dat", "F a.txt", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk("noext.*"), (Events{"D ", "F noext", "D sub/"}));
}

TEST_F(DirDrillTest, AttributeMaskChoosesTheFilesAndHiddenFoldersAreNeverEntered) {
  fs.AddFile(sRoot + "readonly", "", kAttrArchive | kAttrReadOnly);
  fs.AddFile(sRoot + ".dotfile", "");
  fs.AddFile(sRoot + ".git/config", "");
  fs.AddFile(sRoot + "link", "", kAttrArchive | kAttrLink);
  fs.AddFile(sRoot + "fifo", "", kAttrSystem);
  EXPECT_EQ(Walk(), (Events{"D ", "F .dotfile", "F fifo", "F link", "F readonly"}));
  dd.SetAttributeMask(kAttrReadOnly | kAttrHidden | kAttrArchive);
  EXPECT_EQ(Walk(), (Events{"D ", "F .dotfile", "F link", "F readonly"}));
  dd.SetAttributeMask(kAttrReadOnly);
  EXPECT_EQ(Walk(), (Events{"D ", "F readonly"}));
  dd.SetAttributeMask(0);
  EXPECT_EQ(Walk(), (Events{"D "}));
}

TEST_F(DirDrillTest, VisitsAndSearchesStopAfterTheirCaps) {
  for (int i = 0; i < 3005; ++i) fs.AddFile(sRoot + "f" + std::to_string(i), "");
  Walk("*.*;f1*");
  // 3001 from the first element, then one more from the second before its first test.
  EXPECT_EQ(recorder.lFiles, 3002);

  char name[16];
  for (int i = 0; i < 2999; ++i) {
    std::snprintf(name, sizeof name, "d%04d", i);
    fs.AddFolder(sRoot + name);
  }
  fs.AddFolder(sRoot + "d0000/x");
  fs.AddFolder(sRoot + "d0000/y");
  Walk("");
  EXPECT_EQ(recorder.lFolders, 3001);
  EXPECT_EQ(dd.DirsDone()[3000], sRoot + "d0000/x");
}

TEST_F(DirDrillTest, FolderPropertyTakesOnlyExistingFolders) {
  MakeTree();
  dd.SetFolder(sRoot + "B");
  dd.SetFolder(sRoot + "missing/");
  dd.SetFolder(sRoot + "a.txt");
  EXPECT_EQ(dd.Folder(), sRoot + "B");
  dd.BeginSearch();
  EXPECT_EQ(recorder.events.front(), "D B/");
  EXPECT_EQ(recorder.lFolders, 2);
}

}  // namespace
}  // namespace tarnwipe::test
