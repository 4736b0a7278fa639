// The POSIX file layer and special folders on real files in a temporary folder.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>

#include <gtest/gtest.h>

#include "fake_seams.h"
#include "platform/posix/posix_special_folders.h"
#include "runs/confinement.h"
#include "runs/protection.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class PosixFileSystemTest : public ::testing::Test {
 protected:
  bool Opens(const std::string& sPath) { return !fs.OpenExclusive(temp.Path() + sPath, pFile) && pFile != nullptr; }
  void Link(const std::string& sTarget, const std::string& sLink) {
    ASSERT_EQ(::symlink(sTarget.c_str(), (temp.Path() + sLink).c_str()), 0);
  }

  TempFolder temp;
  PosixFileSystem fs;
  std::unique_ptr<ExclusiveFile> pFile;
};

TEST_F(PosixFileSystemTest, ListingsDescribeEachEntryItself) {
  ::chmod(temp.Write("ro", "x").c_str(), 0444);
  ::mkfifo((temp.Path() + "fifo").c_str(), 0600);
  temp.Write(".hidden", "x");
  Link(temp.MakeFolder("dir"), "link");
  std::vector<std::pair<std::string, int32_t>> got;
  for (const FolderEntry& entry : fs.ListFolder(temp.Path())) got.emplace_back(entry.sName, entry.lAttributes);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int32_t>>{{".hidden", kAttrArchive | kAttrHidden},
                                                               {"dir", kAttrDirectory},
                                                               {"fifo", kAttrSystem},
                                                               {"link", kAttrArchive | kAttrLink},
                                                               {"ro", kAttrArchive | kAttrReadOnly}}));
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "link/"), kAttrArchive | kAttrLink);
  EXPECT_EQ(fs.CanonicalPath(temp.Path() + "link/new/"), temp.Path() + "dir/new/");
}

TEST_F(PosixFileSystemTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpens) {
  const int fd = ::open(temp.Write("map/locked", "l").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  ASSERT_EQ(::link(temp.Write("map/shared", "s").c_str(), (temp.Path() + "map/second-name").c_str()), 0);
  ::mkfifo((temp.Path() + "map/fifo").c_str(), 0600);
  Link(temp.Write("outside.txt", "theirs"), "map/link");
  temp.MakeFolder("map/dir");
  ::chmod(temp.Write("map/ro", "r").c_str(), 0444);

  EXPECT_FALSE(Opens("map/ro")) << "nothing opens before a map is held";
  const Confinement held(fs, temp.Path() + "map");
  for (const char* pName : {"locked", "shared", "fifo", "link", "dir", "vanished", "../outside.txt"}) {
    EXPECT_FALSE(Opens(std::string("map/") + pName)) << pName;
  }
  EXPECT_FALSE(Opens("outside.txt"));
  ::close(fd);
  ASSERT_TRUE(Opens("map/ro"));  // a read-only file is made writable for its owner
  int64_t lWritten = 0;
  EXPECT_FALSE(pFile->WriteAt(0, "X", 1, lWritten) || pFile->Flush());
  EXPECT_EQ(ReadFile(temp.Path() + "map/ro"), "X");
  EXPECT_EQ(ReadFile(temp.Path() + "outside.txt"), "theirs");
}

TEST_F(PosixFileSystemTest, NamesAreRemovedOnlyAsWhatTheyWere) {
  temp.Write("map/a.txt", "mine");
  Link(temp.Write("map/target.txt", "keep me"), "map/link");
  Link("/nonexistent", "map/dangling");
  temp.Write("map/full/x", "x");
  const Confinement held(fs, temp.Path() + "map");
  ASSERT_TRUE(Opens("map/a.txt"));
  ASSERT_EQ(::rename((temp.Path() + "map/a.txt").c_str(), (temp.Path() + "map/moved.txt").c_str()), 0);
  temp.Write("map/a.txt", "someone else's");
  EXPECT_TRUE(pFile->Remove());  // the name no longer leads to the file that was opened
  EXPECT_EQ(ReadFile(temp.Path() + "map/a.txt"), "someone else's");
  EXPECT_TRUE(fs.RemoveLink(temp.Path() + "map/target.txt"));
  EXPECT_FALSE(fs.RemoveLink(temp.Path() + "map/link") || fs.RemoveLink(temp.Path() + "map/dangling"));
  EXPECT_EQ(ReadFile(temp.Path() + "map/target.txt"), "keep me");
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/full/"));
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/"));
}

TEST(PosixPlatform, ProtectionFollowsLinksAndDocumentsComeFromTheUserDirs) {
  TempFolder temp;
  PosixFileSystem fs;
  FakeSpecialFolders folders;
  folders.sExecutable = temp.Path() + "app";
  const Protection protection(fs, folders);
  ASSERT_EQ(::symlink("/etc", (temp.Path() + "etc-link").c_str()), 0);
  ASSERT_EQ(::symlink(temp.MakeFolder("app").c_str(), (temp.Path() + "app-link").c_str()), 0);
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "etc-link/passwd"), Refusal::kSystemFolder);
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path() + "app-link/"));
  EXPECT_FALSE(protection.IsApplicationFolder(temp.Path()));

  const std::string sHome = temp.Path() + "home", sOldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", sHome.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (sHome + "/.config").c_str(), 1);
  temp.MakeFolder("home/Documents");
  EXPECT_EQ(PosixSpecialFolders().DocumentsFolder(), sHome + "/Documents/");
  temp.MakeFolder("home/Papers");
  temp.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(PosixSpecialFolders().DocumentsFolder(), sHome + "/Papers/");
  ::setenv("HOME", sOldHome.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tarnwipe::test
