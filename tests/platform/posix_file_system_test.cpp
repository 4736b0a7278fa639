// The POSIX file layer on real files in a temporary folder.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <utility>

#include "capabilities.h"
#include "engine/kept_reason.h"
#include "engine/kept_cause.h"
#include "disk.h"
#include "fakes.h"
#include "file_layer_suite.h"
#include "runs/confinement.h"
#include "runs/protection.h"

namespace tarnwipe::test {
namespace {

class PosixFileSystemTest : public ::testing::Test {
 protected:
  bool Opens(const std::string& sPath) { return !OpenExclusively(fs, temp.Path() + sPath, pFile) && pFile != nullptr; }
  void Link(const std::string& sTarget, const std::string& sLink) {
    ASSERT_EQ(::symlink(sTarget.c_str(), (temp.Path() + sLink).c_str()), 0);
  }

  TempFolder temp;
  PosixFileSystem fs;
  std::unique_ptr<ExclusiveFile> pFile;
};

TEST_F(PosixFileSystemTest, ListingsDescribeEachEntryItselfAndProtectionFollowsLinks) {
  ::chmod(temp.Write("ro", "x").c_str(), 0444);
  ::mkfifo((temp.Path() + "fifo").c_str(), 0600);
  temp.Write(".hidden", "x");
  temp.MakeFolder(".git");
  Link(temp.MakeFolder("dir"), "link");
  std::vector<std::string> asListing;
  for (const FolderEntry& entry : fs.ListFolder(temp.Path())) asListing.push_back(entry.sName + ":" + std::to_string(entry.lAttributes));
  std::sort(asListing.begin(), asListing.end());
  // Hidden 2, system 4, folder 16, archive 32, link 1024, read-only 1.
  EXPECT_EQ(asListing, (std::vector<std::string>{".git:18", ".hidden:34", "dir:16", "fifo:4", "link:1056", "ro:33"}));
  // A folder an ordinary user may not read is told apart from an empty one.
  if (::chown((temp.Path() + "dir").c_str(), 65534, 65534) == 0 && ::chmod((temp.Path() + "dir").c_str(), 0700) == 0) {
    const WithoutCapabilities user({CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH});
    EXPECT_TRUE(user.Dropped() && fs.ProbeFolder(temp.Path() + "dir/") == FolderAccess::kUnreadable);
  }
  EXPECT_EQ(fs.GetAttributes(temp.Path() + "link/"), kAttrArchive | kAttrLink);
  EXPECT_EQ(fs.CanonicalPath(temp.Path() + "link/new/"), temp.Path() + "dir/new/");
  // Protection follows links.
  FakeSpecialFolders folders;
  folders.sExecutable = temp.Path() + "dir";
  const Protection protection(fs, folders);
  Link("/etc", "etc-link");
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "etc-link/passwd"), Refusal::kSystemFolder);
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path() + "link/") && !protection.IsApplicationFolder(temp.Path()));
}

// The POSIX layer passes the suite every file layer passes.
class PosixLayer {
 public:
  using Fs = PosixFileSystem;
  explicit PosixLayer(PosixFileSystem&) {}

  std::string Path(const std::string& sRelative) const { return temp.Path() + sRelative; }
  void Write(const std::string& sRelative, const std::string& sContent) { temp.Write(sRelative, sContent); }
  void MakeFolder(const std::string& sRelative) { temp.MakeFolder(sRelative); }
  std::string Read(const std::string& sRelative) const { return ReadFile(Path(sRelative)); }
  bool Exists(const std::string& sRelative) const { return test::Exists(Path(sRelative)); }
  void HardLink(const std::string& sFile, const std::string& sName) {
    ASSERT_EQ(::link(Path(sFile).c_str(), Path(sName).c_str()), 0);
  }
  // Another program holds the file locked while the result lives.
  std::shared_ptr<void> Hold(const std::string& sRelative) {
    const int fd = ::open(Path(sRelative).c_str(), O_RDONLY);
    EXPECT_EQ(::flock(fd, LOCK_EX), 0);
    return {nullptr, [fd](void*) { ::close(fd); }};
  }

 private:
  TempFolder temp;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, FileLayerTest, PosixLayer);

// What only POSIX has: no fifo or link opens, a refused file keeps its permissions, a read-only
// one is made writable for its owner; names are removed only as what they were: a file's name no
// longer leading to the file opened, or a link's leading to a file, stay.
TEST_F(PosixFileSystemTest, NoFifoOrLinkOpensAndNamesAreRemovedOnlyAsWhatTheyWere) {
  ASSERT_EQ(::link(temp.Write("map/shared", "s").c_str(), (temp.Path() + "map/second-name").c_str()), 0);
  ::chmod((temp.Path() + "map/shared").c_str(), 0444);
  ::mkfifo((temp.Path() + "map/fifo").c_str(), 0400);
  Link(temp.Write("outside.txt", "theirs"), "map/link");
  Link("/nonexistent", "map/dangling");
  ::chmod(temp.Write("map/ro", "r").c_str(), 0444);
  const Confinement held(fs, temp.Path() + "map");
  for (const char* pName : {"map/shared", "map/fifo", "map/link", "map/dangling"}) EXPECT_FALSE(Opens(pName)) << pName;
  struct stat st {};
  for (const auto& [pName, iMode] : {std::pair{"map/shared", 0444U}, {"map/fifo", 0400U}}) {
    EXPECT_TRUE(::lstat((temp.Path() + pName).c_str(), &st) == 0 && (st.st_mode & 07777) == iMode) << pName;
  }
  ASSERT_TRUE(Opens("map/ro"));
  int64_t lWritten = 0;
  EXPECT_FALSE(pFile->WriteAt(0, "X", 1, lWritten) || pFile->Flush());
  ASSERT_EQ(::rename((temp.Path() + "map/ro").c_str(), (temp.Path() + "map/moved").c_str()), 0);
  temp.Write("map/ro", "someone else's");
  std::unique_ptr<HeldName> pName;
  EXPECT_EQ(pFile->HoldName(pName), KeptCause::kReplaced);  // the name no longer leads to the file opened
  EXPECT_FALSE(pFile->Close());
  EXPECT_EQ(ReadFile(temp.Path() + "map/moved") + ReadFile(temp.Path() + "outside.txt"), "Xtheirs");
  EXPECT_TRUE(fs.RemoveLink(temp.Path() + "map/shared"));
  EXPECT_FALSE(fs.RemoveLink(temp.Path() + "map/link") || fs.RemoveLink(temp.Path() + "map/dangling"));
  EXPECT_EQ(ReadFile(temp.Path() + "map/ro") + ReadFile(temp.Path() + "map/shared"), "someone else'ss");
}

// Another program at work on a file while it is erased: it appends to it, or writes through a
// shared mapping of it after closing its descriptor.
class OtherWriterTest : public FormFixture<PosixFileSystem> {
 protected:
  ~OtherWriterTest() override { StopWriter(); }
  // Starts the writer and returns once it holds the file.
  void StartWriter(const std::string& sPath, bool bMap) {
    int aiReady[2];
    ASSERT_EQ(::pipe(aiReady), 0);
    m_iWriter = ::fork();
    if (m_iWriter == 0) {
      const int fd = ::open(sPath.c_str(), O_RDWR | O_APPEND);
      char* pMap = bMap ? static_cast<char*>(::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)) : nullptr;
      if (bMap) ::close(fd);
      ::write(aiReady[1], "r", 1);
      for (;;) {
        if (bMap) pMap[0] = 'w';
        else ::write(fd, "w", 1);
        ::usleep(100);
      }
    }
    char c;
    ASSERT_EQ(::read(aiReady[0], &c, 1), 1);
    ::close(aiReady[0]);
    ::close(aiReady[1]);
  }
  void StopWriter() {
    if (m_iWriter > 0) ::kill(m_iWriter, SIGKILL), ::waitpid(m_iWriter, nullptr, 0);
    m_iWriter = -1;
  }
  // Erases sPath in a child process that may not take leases, as for another user's file, and
  // tells whether the file was kept and reported as not erased. While a writer runs, the erase
  // waits at each pump until it has written again, however busy the machine, so that its writes
  // fall inside the erase.
  bool KeptWithoutLease(const std::string& sPath) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const WithoutCapabilities noLeases({CAP_LEASE});
      if (!noLeases.Dropped()) ::_exit(2);
      off_t lSeen = 0;
      if (m_iWriter > 0) view.onPump = [&] {
        struct stat st {};
        char c = 0;
        for (int i = 0; i < 400 && ::stat(sPath.c_str(), &st) == 0 && st.st_size == lSeen && c != 'w'; ++i) {
          const int fd = ::open(sPath.c_str(), O_RDONLY);
          ::pread(fd, &c, 1, 0), ::close(fd), ::usleep(5000);
        }
        lSeen = st.st_size;
      };
      Erase(sPath, false);
      ::_exit(view.Lines()[0].starts_with("Could not erased file") && Exists(sPath) ? 0 : 1);
    }
    int iStatus = 0;
    ::waitpid(pid, &iStatus, 0);
    return WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0;
  }

  TempFolder temp;
  pid_t m_iWriter = -1;
};

// With a lease, a file another program holds open or has mapped is not even overwritten; without
// one (another user's file), what the other program wrote meanwhile keeps the file, while a file
// nobody touches reads back as the last pass and is erased.
TEST_F(OtherWriterTest, FileThatAnotherProgramWritesIsNotErased) {
  for (const bool bMap : {false, true}) {
    const std::string sPath = temp.Write(bMap ? "mapped.db" : "growing.log", std::string(1 << 20, 'o'));
    StartWriter(sPath, bMap);
    Erase(sPath, false);
    EXPECT_EQ(view.Lines()[0], "Could not erased file " + paths::LastName(sPath) + " [in 0.1 seconds]");
    EXPECT_EQ(view.Lines()[1], "  Reason: open in another program");
    EXPECT_NE(ReadFile(sPath).find(std::string(1000, 'o')), std::string::npos) << "a file in use is not overwritten";
    if (::geteuid() == 0 && ::chown(sPath.c_str(), 65534, 65534) == 0) {
      EXPECT_TRUE(KeptWithoutLease(sPath)) << sPath;
    }
    StopWriter();
  }
  if (::geteuid() != 0) GTEST_SKIP() << "without a lease: needs root to give the file to another user";
  const std::string sAlone = temp.Write("alone.txt", std::string(5000, 'a'));
  ASSERT_EQ(::chown(sAlone.c_str(), 65534, 65534), 0);
  EXPECT_FALSE(KeptWithoutLease(sAlone));
  EXPECT_FALSE(Exists(sAlone));
}

// One folder run, as an ordinary user, meets the files it must keep, a running program among
// them; each says why under its failure line, and the closing line counts them by reason. A file
// whose name could not be removed afterwards (in a folder the user may not write, or an immutable
// one) is not written at all. So does a file removed after the question.
TEST_F(OtherWriterTest, FolderRunSaysWhyEachKeptFileWasKept) {
  const std::string sMap = temp.MakeFolder("map");
  const int fd = ::open(temp.Write("map/held", "h").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  ASSERT_EQ(::link(temp.Write("map/linked", "l").c_str(), (temp.Path() + "second-name").c_str()), 0);
  ASSERT_EQ(::mkfifo((sMap + "fifo").c_str(), 0600), 0);
  temp.Write("map/sound", "s");
  const std::string sRunning = temp.Write("map/running", ReadFile("/bin/sleep"));
  ::chmod(sRunning.c_str(), 0755);
  const std::string sTheirs = temp.Write("map/theirs/f", "keep"), sFrozen = temp.Write("map/frozen/f", "keep");
  ::chmod(sTheirs.c_str(), 0666);
  temp.Write("map/unsearchable/f", "keep");  // listed, but its entries cannot be looked at
  ::chmod((sMap + "unsearchable").c_str(), 0644);
  if (::chown(temp.Write("map/theirs.txt", "t").c_str(), 65534, 65534) != 0 || ::chown((sMap + "theirs").c_str(), 65534, 65534) != 0 ||
      !RunQuietly("chattr +i " + sMap + "frozen"))
    GTEST_SKIP() << "needs root to give a file away, and chattr";
  int aiExec[2];  // a program that is running: its pipe closes once it is
  ASSERT_EQ(::pipe2(aiExec, O_CLOEXEC), 0);
  const pid_t iRunning = ::fork();
  if (iRunning == 0) ::execl(sRunning.c_str(), "running", "60", nullptr), ::_exit(1);
  char c;
  ::close(aiExec[1]), ::read(aiExec[0], &c, 1), ::close(aiExec[0]);
  {
    const WithoutCapabilities user({CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER});
    Erase(sMap, true);
  }
  ::close(fd);
  ::kill(iRunning, SIGKILL), ::waitpid(iRunning, nullptr, 0);
  RunQuietly("chattr -i " + sMap + "frozen");
  const std::vector<std::string> asLines = view.Lines();
  EXPECT_EQ(Counts(), "Erased 1 file(s) and 0 folder(s)");
  EXPECT_EQ(ReadFile(sTheirs) + ReadFile(sFrozen) + ReadFile(sMap + "unsearchable/f"), "keepkeepkeep");
  EXPECT_EQ(std::vector<std::string>(asLines.begin() + 1, asLines.begin() + 8),
            (std::vector<std::string>{"  unable to delete 4 folder(s)", "  unable to erase 8 file(s)",
                                      "    1 x it has a second hard link: its contents are reachable under another name",
                                      "    2 x " + KeptReason(KeptCause::kNameFixed), "    2 x no permission",
                                      "    1 x not a regular file", "    2 x open in another program"}));
  EXPECT_TRUE(view.Has("Could not erased file held [in 0.1 seconds]\r\n  Reason: open in another program")) << view.sText;
  // A file removed after the question.
  const std::string sGone = temp.Write("gone.txt", "g");
  dialogs.onQuestion = [&] { ::unlink(sGone.c_str()); };
  Erase(sGone, false);
  EXPECT_EQ(view.Lines()[1], "  Reason: it no longer exists");
}

// Another program opening a file under erase is let through at once, not after the erase (or the
// system's lease-break time); a reader leaves the file to be erased, a writer keeps it.
TEST_F(OtherWriterTest, AnotherProgramOpeningTheFileIsNotKeptWaiting) {
  for (const int iMode : {O_RDONLY, O_WRONLY | O_APPEND}) {
    const std::string sPath = temp.Write("opened-" + std::to_string(iMode), std::string(8 << 20, 'o'));
    bool bOpened = false;
    view.onPump = [&] {
      if (std::exchange(bOpened, true)) return;
      const pid_t pid = ::fork();
      if (pid == 0) {
        const int fd = ::open(sPath.c_str(), iMode);
        ::_exit(fd >= 0 && (iMode == O_RDONLY || ::write(fd, "w", 1) == 1) ? 0 : 1);
      }
      // Let through, the other program ends while this one is still in the middle of the erase.
      int iStatus = -1;
      for (int i = 0; i < 200 && ::waitpid(pid, &iStatus, WNOHANG) == 0; ++i) ::usleep(10000);
      EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0) << "the other program still waits";
      if (!WIFEXITED(iStatus)) ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
    };
    Erase(sPath, false);
    EXPECT_EQ(Exists(sPath), iMode != O_RDONLY) << iMode;
  }
}

}  // namespace
}  // namespace tarnwipe::test
