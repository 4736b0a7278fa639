// The directory walker on real temporary trees.
#include "walker/c_dir_drill.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "platform/posix/posix_file_system.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

// Records every event, paths relative to the walked folder.
class Recorder : public DirDrillEvents {
 public:
  explicit Recorder(std::string sBase) : m_sBase(std::move(sBase)) {}

  std::vector<std::string> events;
  std::function<void(const std::string&, int64_t&)> onFile;
  std::function<void(const std::string&, bool&)> onFolder;
  int32_t lFiles = -1;
  int32_t lFolders = -1;
  double dblKBytes = -1;

  void NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& /*bCancel*/) override {
    events.push_back("F " + Relative(sFileSpec));
    if (onFile) onFile(Relative(sFileSpec), lBytes);
  }
  void NewFolder(const std::string& sFolderSpec, bool& bCancel) override {
    events.push_back("D " + Relative(sFolderSpec));
    if (onFolder) onFolder(Relative(sFolderSpec), bCancel);
  }
  void Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) override {
    lFiles = lNrTotalFiles;
    lFolders = lNrTotalFolders;
    dblKBytes = dblTotalKBytes;
  }
  int Count(char cKind) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& s) { return s[0] == cKind; }));
  }

 private:
  std::string Relative(const std::string& sPath) const {
    return sPath.rfind(m_sBase, 0) == 0 ? sPath.substr(m_sBase.size()) : sPath;
  }
  std::string m_sBase;
};

class DirDrillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dd.SetEvents(&recorder);
    dd.SetAttributeMask(39);
  }
  // A/a.txt, A/B/b.txt, A/B/C/c.txt, A/D/d.txt under the temporary folder.
  void MakeTree() {
    temp.Write("a.txt", "a");
    temp.Write("B/b.txt", "b");
    temp.Write("B/C/c.txt", "c");
    temp.Write("D/d.txt", "d");
  }
  std::vector<std::string> Walk(const std::string& sPattern = "*.*") {
    recorder.events.clear();
    dd.SetPattern(sPattern);
    dd.BeginSearch(temp.Path());
    return recorder.events;
  }

  TempFolder temp;
  PosixFileSystem fs;
  CDirDrill dd{fs, "/"};
  Recorder recorder{temp.Path()};
};

using Events = std::vector<std::string>;

TEST_F(DirDrillTest, DepthFirstWithEachFolderListedBeforeItsFiles) {
  MakeTree();
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "F B/b.txt", "D B/C/", "F B/C/c.txt", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFiles, 4);
  EXPECT_EQ(recorder.lFolders, 4);
  const std::vector<std::string> asDirs = dd.DirsDone();
  ASSERT_EQ(asDirs.size(), 31U);
  EXPECT_EQ(asDirs[0], "");
  EXPECT_EQ(asDirs[1], temp.Path() + "B");
  EXPECT_EQ(asDirs[2], temp.Path() + "D");
  EXPECT_EQ(asDirs[3], temp.Path() + "B/C");
  EXPECT_EQ(asDirs[4], "");
}

TEST_F(DirDrillTest, NotRecursiveStillCountsAndStoresTheSubfolders) {
  MakeTree();
  dd.SetRecursive(false);
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt"}));
  EXPECT_EQ(recorder.lFolders, 3);
  EXPECT_EQ(dd.DirsDone()[2], temp.Path() + "D");
}

TEST_F(DirDrillTest, CancelledFolderIsSkippedButCounted) {
  MakeTree();
  recorder.onFolder = [](const std::string& sFolder, bool& bCancel) { bCancel = sFolder == "B/"; };
  EXPECT_EQ(Walk(), (Events{"D ", "F a.txt", "D B/", "D D/", "F D/d.txt"}));
  EXPECT_EQ(recorder.lFiles, 2);
  EXPECT_EQ(recorder.lFolders, 3);

  recorder.onFolder = [](const std::string&, bool& bCancel) { bCancel = true; };
  EXPECT_EQ(Walk(), (Events{"D "}));
  EXPECT_EQ(recorder.lFiles, 0);
  EXPECT_EQ(recorder.lFolders, 1);
  EXPECT_EQ(recorder.dblKBytes, 0);
}

TEST_F(DirDrillTest, ByteCountsOfTheReceiverMakeTheTotals) {
  temp.Write("1.txt", "");
  temp.Write("2.txt", "");
  temp.Write("3.txt", "");
  temp.Write("sub/4.txt", "");
  recorder.onFile = [](const std::string& sFile, int64_t& lBytes) {
    if (sFile == "1.txt") lBytes = 2048;
    if (sFile == "3.txt") lBytes = -1;
    if (sFile == "sub/4.txt") lBytes = int64_t{3} << 31;  // 6 GiB
  };
  Walk();
  // 2.txt keeps the count the receiver left for 1.txt; 3.txt is declined.
  EXPECT_EQ(recorder.lFiles, 3);
  EXPECT_DOUBLE_EQ(recorder.dblKBytes, 4.0 + 6.0 * 1024 * 1024);

  recorder.onFile = nullptr;
  Walk();
  EXPECT_EQ(recorder.lFiles, 4);
  EXPECT_DOUBLE_EQ(recorder.dblKBytes, 0.0);
}

TEST_F(DirDrillTest, PatternListsAreNormalisedAndMatchedPerElement) {
  dd.SetPattern("*.txt, *.log");
  EXPECT_EQ(dd.Pattern(), "*.txt;*.log");
  dd.SetPattern("my file.txt");
  EXPECT_EQ(dd.Pattern(), "myfile.txt");

  temp.Write("a.txt", "");
  temp.Write("b.LOG", "");
  temp.Write("noext", "");
  temp.Write("c1.dat", "");
  temp.Write("sub/d.txt", "");
  EXPECT_EQ(Walk("*.txt, *.log"), (Events{"D ", "F a.txt", "F b.LOG", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk(""), (Events{"D ", "D sub/"}));
  EXPECT_EQ(Walk("*.TXT;"), (Events{"D ", "F a.txt", "F a.txt", "F b.LOG", "F c1.dat", "F noext", "D sub/",
                                    "F sub/d.txt", "F sub/d.txt"}));
  EXPECT_EQ(Walk("*.*"), (Events{"D ", "F a.txt", "F b.LOG", "F c1.dat", "F noext", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk("c?.dat;?.txt"), (Events{"D ", "F c1.dat", "F a.txt", "D sub/", "F sub/d.txt"}));
  EXPECT_EQ(Walk("noext.*"), (Events{"D ", "F noext", "D sub/"}));
}

TEST_F(DirDrillTest, AttributeMaskChoosesTheFiles) {
  const std::string sReadOnly = temp.Write("readonly", "");
  ::chmod(sReadOnly.c_str(), 0444);
  temp.Write(".dotfile", "");
  temp.Write(".git/config", "");
  temp.Write("plain", "");
  ::symlink("/etc", (temp.Path() + "etc-link").c_str());
  ::mkfifo((temp.Path() + "fifo").c_str(), 0600);

  dd.SetAttributeMask(0);
  EXPECT_EQ(Walk(), (Events{"D "}));
  dd.SetAttributeMask(39);
  EXPECT_EQ(Walk(), (Events{"D ", "F .dotfile", "F etc-link", "F fifo", "F plain", "F readonly"}));
  dd.SetAttributeMask(35);
  EXPECT_EQ(Walk(), (Events{"D ", "F .dotfile", "F etc-link", "F plain", "F readonly"}));
  dd.SetAttributeMask(1);
  EXPECT_EQ(Walk(), (Events{"D ", "F readonly"}));
  EXPECT_EQ(recorder.lFolders, 1);
}

TEST_F(DirDrillTest, FilesOfOneVisitStopAfterTheCap) {
  for (int i = 0; i < 3005; ++i) temp.Write("f" + std::to_string(i), "");
  Walk("*.*;f1*");
  // 3001 from the first element, then one more from the second before its first test.
  EXPECT_EQ(recorder.Count('F'), 3002);
  Walk();
  EXPECT_EQ(recorder.Count('F'), 3001);
}

TEST_F(DirDrillTest, FoldersOfOneSearchStopAfterTheCap) {
  char name[16];
  for (int i = 0; i < 2999; ++i) {
    std::snprintf(name, sizeof name, "d%04d", i);
    ::mkdir((temp.Path() + name).c_str(), 0700);
  }
  temp.MakeFolder("d0000/x");
  temp.MakeFolder("d0000/y");
  Walk();
  EXPECT_EQ(recorder.lFolders, 3001);
  EXPECT_EQ(recorder.Count('D'), 3001);
  EXPECT_EQ(dd.DirsDone()[3000], temp.Path() + "d0000/x");
  EXPECT_EQ(dd.DirsDone().size(), 3001U);
}

TEST_F(DirDrillTest, FolderPropertyAndRepeatedSearches) {
  MakeTree();
  const std::string sB = temp.Path() + "B";
  dd.SetFolder(sB);
  EXPECT_EQ(dd.Folder(), sB);
  dd.SetFolder(temp.Path() + "missing/");
  EXPECT_EQ(dd.Folder(), sB);
  dd.SetFolder(temp.Path() + "a.txt");
  EXPECT_EQ(dd.Folder(), sB);

  dd.BeginSearch();
  EXPECT_EQ(recorder.events.front(), "D B/");
  EXPECT_EQ(recorder.lFolders, 2);

  Walk();
  dd.BeginSearch(sB);
  EXPECT_EQ(recorder.lFiles, 2);
  EXPECT_EQ(recorder.lFolders, 2);
  EXPECT_EQ(dd.DirsDone()[1], temp.Path() + "B/C");
  EXPECT_EQ(dd.DirsDone()[2], "");
}

}  // namespace
}  // namespace tarnwipe::test
