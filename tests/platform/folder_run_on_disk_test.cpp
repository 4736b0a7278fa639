// Folder runs on disk over a path too deep to name and over files and folders the user may not
// touch.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "form_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class FolderRunOnDiskTest : public FormFixture<PosixFileSystem> {
 protected:
  TempFolder temp;
};

TEST_F(FolderRunOnDiskTest, PathBeyondTheLimitIsLeftAloneAndSaid) {
  const std::string sRoot = temp.MakeFolder("deep");
  const std::string sLevel(200, 'd');
  int fd = ::open(sRoot.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < 24; ++i) {
    ASSERT_EQ(::mkdirat(fd, sLevel.c_str(), 0700), 0);
    const int next = ::openat(fd, sLevel.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  const int file = ::openat(fd, "deep.txt", O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::write(file, "deep secret", 11), 11);
  ::close(file);

  Erase(sRoot, true);

  struct stat st {};
  EXPECT_EQ(::fstatat(fd, "deep.txt", &st, 0), 0);
  EXPECT_EQ(st.st_size, 11);
  ::close(fd);
  EXPECT_TRUE(view.Has("Could not read map " + sRoot + sLevel + "/"));
  EXPECT_EQ(Counts(), "Erased 0 file(s) and 0 folder(s)");
  // The tree is deeper than a path can name; the shell removes it relative to each level.
  std::system(("cd '" + sRoot + "' && rm -rf " + sLevel).c_str());
}

TEST_F(FolderRunOnDiskTest, FolderAndFileTheUserMayNotTouch) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make files of another owner";
  const uid_t kNobody = 65534;
  ::chmod(temp.Path().c_str(), 0755);
  const std::string sRoot = temp.MakeFolder("perm");
  ::chmod(sRoot.c_str(), 0777);
  const std::string sTheirs = temp.Write("perm/theirs.txt", "root's data");
  const std::string sMine = temp.Write("perm/mine.txt", "my data");
  const std::string sInside = temp.Write("perm/closed/inside.txt", "hidden away");
  ASSERT_EQ(::chown(sMine.c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chown((sRoot + "closed").c_str(), kNobody, kNobody), 0);
  ::chmod((sRoot + "closed").c_str(), 0);

  // The run as another user, in a child that leaves its message area in a file.
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
    Erase(sRoot, true);
    temp.Write("perm/messages", view.sText);
    ::_exit(0);
  }
  int iStatus = 0;
  ::waitpid(pid, &iStatus, 0);
  ASSERT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0) << iStatus;
  const std::string sText = ReadFile(sRoot + "messages");

  EXPECT_FALSE(Exists(sMine));
  EXPECT_EQ(ReadFile(sTheirs), "root's data");
  ::chmod((sRoot + "closed").c_str(), 0700);
  EXPECT_EQ(ReadFile(sInside), "hidden away");
  EXPECT_NE(sText.find("Could not erased file theirs.txt [in "), std::string::npos) << sText;
  EXPECT_NE(sText.find("Could not read map " + sRoot + "closed/"), std::string::npos) << sText;
  EXPECT_EQ(sText.rfind("Erased 1 file(s) and 0 folder(s);", 0), 0U) << sText;
  EXPECT_NE(sText.find("  unable to delete 2 folder(s)"), std::string::npos) << sText;
}

}  // namespace
}  // namespace tarnwipe::test
