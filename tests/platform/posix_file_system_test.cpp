// The POSIX file layer on real files in a temporary folder.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>

#include <gtest/gtest.h>

#include "disk.h"
#include "fakes.h"
#include "runs/confinement.h"
#include "runs/protection.h"

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
  std::string sListing;
  for (const FolderEntry& entry : fs.ListFolder(temp.Path())) sListing += entry.sName + ":" + std::to_string(entry.lAttributes) + " ";
  // Hidden 2, system 4, folder 16, archive 32, link 1024, read-only 1.
  EXPECT_EQ(sListing, ".hidden:34 dir:16 fifo:4 link:1056 ro:33 ");
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "link/"), kAttrArchive | kAttrLink);
  EXPECT_EQ(fs.CanonicalPath(temp.Path() + "link/new/"), temp.Path() + "dir/new/");
}

TEST_F(PosixFileSystemTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpens) {
  const int fd = ::open(temp.Write("map/locked", "l").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  ASSERT_EQ(::link(temp.Write("map/shared", "s").c_str(), (temp.Path() + "map/second-name").c_str()), 0);
  ::chmod((temp.Path() + "map/shared").c_str(), 0444);
  ::mkfifo((temp.Path() + "map/fifo").c_str(), 0400);
  Link(temp.Write("outside.txt", "theirs"), "map/link");
  temp.MakeFolder("map/dir");
  ::chmod(temp.Write("map/ro", "r").c_str(), 0444);
  EXPECT_FALSE(Opens("map/ro")) << "nothing opens before a map is held";
  const Confinement held(fs, temp.Path() + "map");
  for (const char* pName : {"map/locked", "map/shared", "map/fifo", "map/link", "map/dir", "map/gone", "outside.txt"}) {
    EXPECT_FALSE(Opens(pName)) << pName;
  }
  // What is refused keeps its permissions too.
  struct stat st {};
  for (const auto& [pName, iMode] : {std::pair{"map/shared", 0444U}, {"map/fifo", 0400U}}) {
    EXPECT_TRUE(::lstat((temp.Path() + pName).c_str(), &st) == 0 && (st.st_mode & 07777) == iMode) << pName;
  }
  ::close(fd);
  ASSERT_TRUE(Opens("map/ro"));  // a read-only file is made writable for its owner
  int64_t lWritten = 0;
  EXPECT_FALSE(pFile->WriteAt(0, "X", 1, lWritten) || pFile->Flush() || pFile->Close());
  EXPECT_EQ(ReadFile(temp.Path() + "map/ro") + ReadFile(temp.Path() + "outside.txt"), "Xtheirs");
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
  EXPECT_TRUE(fs.RemoveLink(temp.Path() + "map/target.txt"));
  EXPECT_FALSE(fs.RemoveLink(temp.Path() + "map/link") || fs.RemoveLink(temp.Path() + "map/dangling"));
  EXPECT_EQ(ReadFile(temp.Path() + "map/a.txt") + ReadFile(temp.Path() + "map/target.txt"), "someone else'skeep me");
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/full/"));
  EXPECT_TRUE(fs.RemoveFolder(temp.Path() + "map/"));
}

TEST_F(PosixFileSystemTest, ProtectionFollowsLinks) {
  FakeSpecialFolders folders;
  folders.sExecutable = temp.Path() + "app";
  const Protection protection(fs, folders);
  Link("/etc", "etc-link");
  Link(temp.MakeFolder("app"), "app-link");
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "etc-link/passwd"), Refusal::kSystemFolder);
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path() + "app-link/"));
  EXPECT_FALSE(protection.IsApplicationFolder(temp.Path()));
}

}  // namespace
}  // namespace tarnwipe::test
