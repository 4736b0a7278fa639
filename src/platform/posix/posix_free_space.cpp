// The free-space side of the POSIX file layer: a disk's space from statfs and the mount table,
// and fillers the kernel frees with the program: unnamed (O_TMPFILE), or named and removed at
// once while held open; on FUSE, where a removed open file stays as a hidden name, they keep a
// name until they go. The journal of ext3 and ext4 (jbd2) is told of in /proc/fs/jbd2.
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <sys/sysmacros.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <optional>
#include <sstream>

#include "paths/path_text.h"
#include "platform/posix/descriptor.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/write_back.h"

namespace tarnwipe {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class PosixFiller : public Filler {
 public:
  PosixFiller(Descriptor file, Descriptor folder, std::string sName)
      : m_file(std::move(file)), m_folder(std::move(folder)), m_sName(std::move(sName)) {}
  // Closed before its name goes: FUSE keeps a removed open file under a hidden name, for which
  // a full disk has no room.
  ~PosixFiller() override {
    m_file = Descriptor();
    if (!m_sName.empty()) ::unlinkat(m_folder.Get(), m_sName.c_str(), 0);
  }

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    const ssize_t n = ::pwrite(m_file.Get(), pData, static_cast<size_t>(lSize), lOffset);
    lWritten = n < 0 ? 0 : n;
    return n < 0 ? LastError() : std::error_code();
  }
  std::error_code StartWriteBack(int64_t lOffset, int64_t lSize) override { return WriteBack(m_file.Get(), lOffset, lSize, false); }
  std::error_code WaitWriteBack(int64_t lOffset, int64_t lSize) override { return WriteBack(m_file.Get(), lOffset, lSize, true); }
  std::error_code Flush() override { return ::fdatasync(m_file.Get()) == 0 ? std::error_code() : LastError(); }
  std::error_code CommitFileSystem() override { return ::syncfs(m_file.Get()) == 0 ? std::error_code() : LastError(); }

 private:
  Descriptor m_file;
  Descriptor m_folder;
  std::string m_sName;  // kept while the filler lives; empty when it has none
};

// Files whose times change together, then made durable with one sync of their file system.
class PosixRewriter : public RecordRewriter {
 public:
  explicit PosixRewriter(Descriptor folder) : m_folder(std::move(folder)) {}
  ~PosixRewriter() override {
    for (const std::string& sName : m_asNames) ::unlinkat(m_folder.Get(), sName.c_str(), 0);
  }
  std::error_code Add(const std::string& sName) {
    const int fd = ::openat(m_folder.Get(), sName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return LastError();
    ::close(fd);
    m_asNames.push_back(sName);
    return {};
  }
  // Files made in a row lie side by side in the inode table, whose blocks hold at least four
  // inodes each, and a changed inode has its whole block logged: one file in four is enough.
  std::error_code Rewrite() override {
    const timespec now[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
    for (size_t i = 0; i < m_asNames.size(); i += 4) {
      if (::utimensat(m_folder.Get(), m_asNames[i].c_str(), now, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
    }
    return ::syncfs(m_folder.Get()) == 0 ? std::error_code() : LastError();
  }

 private:
  Descriptor m_folder;
  std::vector<std::string> m_asNames;
};

// The internal journal of the file system that holds sFolder, in bytes: its size and what it
// has logged since it was mounted.
struct Journal {
  int64_t lSize = 0;
  int64_t lLogged = 0;
};

// From the jbd2 report: its first line "N transactions (M requested), each up to B blocks",
// later "L logged blocks per transaction". The kernel lets one transaction take at most a quarter
// of the journal (a third in newer kernels): four times B is at least the whole journal. None
// where the file system has no such journal.
std::optional<Journal> JournalOf(const std::string& sFolder) {
  struct stat st {};
  struct statfs info {};
  char device[PATH_MAX] = {};
  if (::stat(sFolder.c_str(), &st) != 0 || ::statfs(sFolder.c_str(), &info) != 0) return std::nullopt;
  const std::string sDevice = "/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  if (::readlink(sDevice.c_str(), device, sizeof device - 1) < 0) return std::nullopt;
  std::ifstream report("/proc/fs/jbd2/" + paths::LastName(device) + "-8/info");
  std::string sWord;
  int64_t lTransactions = 0, lMaxBlocks = 0, lLoggedEach = 0;
  if (!(report >> lTransactions >> sWord >> sWord >> sWord >> sWord >> sWord >> sWord >> lMaxBlocks)) return std::nullopt;
  for (std::string sLine; std::getline(report, sLine);) {
    if (sLine.find("logged blocks per transaction") != std::string::npos) std::istringstream(sLine) >> lLoggedEach;
  }
  const auto lBlock = static_cast<int64_t>(info.f_bsize);
  return Journal{4 * lMaxBlocks * lBlock, lTransactions * lLoggedEach * lBlock};
}

// True when a run of another start of the program holds the work folder sFolder.
bool IsLockedByAnother(const std::string& sFolder) {
  const Descriptor folder(::open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  return folder.Get() >= 0 && ::flock(folder.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

}  // namespace

std::error_code PosixFileSystem::SpaceOf(const std::string& sFolder, DiskSpace& space) const {
  struct statfs info {};
  if (::statfs(sFolder.c_str(), &info) != 0) return LastError();
  space.lAvailable = static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_bsize);
  space.lFree = static_cast<int64_t>(info.f_bfree) * static_cast<int64_t>(info.f_bsize);
  // XFS sets free blocks aside in every allocation group for its own trees, and counts them as
  // neither free nor available; which blocks those are, no file can tell.
  space.bKeepsUncounted = info.f_type == XFS_SUPER_MAGIC;
  // The top is the last folder upwards on the same device.
  char resolved[PATH_MAX];
  if (::realpath(sFolder.c_str(), resolved) == nullptr) return LastError();
  std::string sTop = resolved;
  struct stat here {};
  struct stat above {};
  if (::stat(sTop.c_str(), &here) != 0) return LastError();
  while (!paths::IsRoot(sTop)) {
    const std::string sAbove = paths::WithoutSeparator(paths::FolderPart(sTop));
    if (::stat(sAbove.empty() ? "/" : sAbove.c_str(), &above) != 0 || above.st_dev != here.st_dev) break;
    sTop = sAbove.empty() ? "/" : sAbove;
  }
  space.sTop = paths::WithSeparator(sTop);
  // The last mount made there is the one seen.
  for (const Mount& mount : MountTable()) {
    if (mount.sTop == space.sTop) space.sType = mount.sType;
  }
  const std::optional<Journal> journal = JournalOf(sFolder);
  space.lJournal = journal ? journal->lSize : 0;
  return {};
}

// A work folder stays locked while its run lives, so that another start of the program leaves it
// alone; the lock goes with the program, also when it is killed.
std::error_code PosixFileSystem::MakeWorkFolder(const std::string& sPath) {
  const std::string sFolder = paths::WithoutSeparator(sPath);
  if (::mkdir(sFolder.c_str(), 0700) != 0) return LastError();
  Descriptor folder(::open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folder.Get() < 0 || ::flock(folder.Get(), LOCK_EX | LOCK_NB) != 0) return LastError();
  m_workFolders[sFolder] = std::move(folder);
  return {};
}

std::error_code PosixFileSystem::CreateFiller(const std::string& sFolder, const std::string& sName,
                                              std::unique_ptr<Filler>& pFiller) {
  pFiller.reset();
  Descriptor folder(::open(sFolder.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folder.Get() < 0) return LastError();
  Descriptor file(::openat(folder.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (file.Get() >= 0) {
    pFiller = std::make_unique<PosixFiller>(std::move(file), Descriptor(), "");
    return {};
  }
  file = Descriptor(::openat(folder.Get(), sName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (file.Get() < 0) return LastError();
  struct statfs info {};
  const bool bFuse = ::fstatfs(file.Get(), &info) == 0 && info.f_type == FUSE_SUPER_MAGIC;
  if (!bFuse) {
    ::unlinkat(folder.Get(), sName.c_str(), 0);
    pFiller = std::make_unique<PosixFiller>(std::move(file), Descriptor(), "");
    return {};
  }
  pFiller = std::make_unique<PosixFiller>(std::move(file), std::move(folder), sName);
  return {};
}

std::error_code PosixFileSystem::RemoveLeftover(const std::string& sPath) {
  const std::string sEntry = paths::WithoutSeparator(sPath);
  struct stat st {};
  if (::lstat(sEntry.c_str(), &st) != 0) return LastError();
  const std::string sWork = S_ISDIR(st.st_mode) ? sEntry : paths::WithoutSeparator(paths::FolderPart(sEntry));
  if (m_workFolders.count(sWork) == 0 && IsLockedByAnother(sWork)) return std::make_error_code(std::errc::device_or_resource_busy);
  if (S_ISDIR(st.st_mode)) {
    m_workFolders.erase(sWork);
    return ::rmdir(sEntry.c_str()) == 0 ? std::error_code() : LastError();
  }
  if (!S_ISREG(st.st_mode)) return std::make_error_code(std::errc::operation_not_permitted);
  return ::unlink(sEntry.c_str()) == 0 ? std::error_code() : LastError();
}

int64_t PosixFileSystem::JournalLogged(const std::string& sFolder) const {
  const std::optional<Journal> journal = JournalOf(sFolder);
  return journal ? journal->lLogged : -1;
}

std::error_code PosixFileSystem::CreateRewriter(const std::string& sFolder, const std::string& sPrefix, int iFiles,
                                                std::unique_ptr<RecordRewriter>& pRewriter) {
  Descriptor folder(::open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folder.Get() < 0) return LastError();
  auto pNew = std::make_unique<PosixRewriter>(std::move(folder));
  for (int i = 0; i < iFiles; ++i) {
    if (std::error_code ec = pNew->Add(sPrefix + std::to_string(i))) return ec;
  }
  pRewriter = std::move(pNew);
  return {};
}

}  // namespace tarnwipe
