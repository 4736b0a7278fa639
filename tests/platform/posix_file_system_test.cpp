// The POSIX file layer on real files in a temporary folder: what it opens, refuses and removes.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

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
  std::error_code Open(const std::string& sPath) { return fs.OpenExclusive(sPath, pFile); }

  TempFolder temp;
  PosixFileSystem fs;
  std::unique_ptr<ExclusiveFile> pFile;
};

TEST_F(PosixFileSystemTest, AttributeWordsAndListingsDescribeTheEntryItself) {
  ::chmod(temp.Write("ro", "x").c_str(), 0444);
  ::mkfifo((temp.Path() + "fifo").c_str(), 0600);
  temp.Write(".hidden", "x");
  temp.MakeFolder("dir");
  ASSERT_EQ(::symlink("dir", (temp.Path() + "link").c_str()), 0);
  const std::vector<FolderEntry> entries = fs.ListFolder(temp.Path());
  std::vector<std::pair<std::string, int32_t>> got;
  for (const FolderEntry& entry : entries) got.emplace_back(entry.sName, entry.lAttributes);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int32_t>>{{".hidden", kAttrArchive | kAttrHidden},
                                                               {"dir", kAttrDirectory},
                                                               {"fifo", kAttrSystem},
                                                               {"link", kAttrArchive | kAttrLink},
                                                               {"ro", kAttrArchive | kAttrReadOnly}}));
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "link/"), kAttrArchive | kAttrLink);
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "nope"), -1);
  EXPECT_EQ(fs.CanonicalPath(temp.Path() + "link/new/"), temp.Path() + "dir/new/");
}

TEST_F(PosixFileSystemTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpens) {
  const std::string sOutside = temp.Write("outside.txt", "theirs");
  const std::string sMap = temp.MakeFolder("map");
  const std::string sLocked = temp.Write("map/locked", "l");
  const int fd = ::open(sLocked.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const std::string sShared = temp.Write("map/shared", "s");
  ASSERT_EQ(::link(sShared.c_str(), (temp.Path() + "map/second-name").c_str()), 0);
  ::mkfifo((sMap + "fifo").c_str(), 0600);
  ASSERT_EQ(::symlink(sOutside.c_str(), (sMap + "link").c_str()), 0);
  temp.MakeFolder("map/dir");

  EXPECT_TRUE(Open(sMap + "plain")) << "nothing opens before a map is held";
  const Confinement held(fs, sMap);
  for (const char* pName : {"locked", "shared", "fifo", "link", "dir", "vanished", "../outside.txt"}) {
    EXPECT_TRUE(Open(sMap + pName)) << pName;
    EXPECT_EQ(pFile, nullptr) << pName;
  }
  EXPECT_TRUE(Open(sOutside));
  ::close(fd);
  EXPECT_EQ(ReadFile(sOutside), "theirs");
}

TEST_F(PosixFileSystemTest, ReadOnlyFileIsOverwrittenFlushedAndRemoved) {
  const std::string sPath = temp.Write("ro.txt", "private");
  ::chmod(sPath.c_str(), 0444);
  const Confinement held(fs, temp.Path());
  ASSERT_FALSE(Open(sPath));
  int64_t lWritten = 0;
  EXPECT_FALSE(pFile->WriteAt(0, "XXXXXXX", 7, lWritten));
  EXPECT_FALSE(pFile->Flush());
  EXPECT_EQ(ReadFile(sPath), "XXXXXXX");
  EXPECT_FALSE(pFile->Remove());
  EXPECT_FALSE(pFile->Close());
  EXPECT_FALSE(Exists(sPath));
}

TEST_F(PosixFileSystemTest, NameThatNoLongerLeadsToTheOpenFileIsKept) {
  const std::string sPath = temp.Write("a.txt", "mine");
  const Confinement held(fs, temp.Path());
  ASSERT_FALSE(Open(sPath));
  ASSERT_EQ(::rename(sPath.c_str(), (temp.Path() + "moved.txt").c_str()), 0);
  temp.Write("a.txt", "someone else's");
  EXPECT_TRUE(pFile->Remove());
  EXPECT_EQ(ReadFile(sPath), "someone else's");
}

TEST_F(PosixFileSystemTest, LinksAndFoldersAreRemovedOnlyAsWhatTheyAre) {
  const std::string sTarget = temp.Write("map/target.txt", "keep me");
  ASSERT_EQ(::symlink(sTarget.c_str(), (temp.Path() + "map/link").c_str()), 0);
  temp.Write("map/full/x", "x");
  const Confinement held(fs, temp.Path() + "map/");
  EXPECT_TRUE(fs.RemoveLink(sTarget));
  EXPECT_FALSE(fs.RemoveLink(temp.Path() + "map/link"));
  EXPECT_EQ(ReadFile(sTarget), "keep me");
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/full/"));
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/"));
  EXPECT_TRUE(Exists(temp.Path() + "map/full/x"));
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

  const std::string sHome = temp.Path() + "home";
  const std::string sOldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("HOME", sHome.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (sHome + "/.config").c_str(), 1);
  const PosixSpecialFolders special;
  temp.MakeFolder("home/Documents");
  EXPECT_EQ(special.DocumentsFolder(), sHome + "/Documents/");
  temp.MakeFolder("home/Papers");
  temp.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(special.DocumentsFolder(), sHome + "/Papers/");
  ::setenv("HOME", sOldHome.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tarnwipe::test
