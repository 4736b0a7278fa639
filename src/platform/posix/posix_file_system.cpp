// POSIX file layer. Every refusal leaves the file's content as it was. Below a held map every
// folder is reached with openat2 from the map's own descriptor, so a link or mount swapped into
// the tree leads nowhere.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "engine/kept_cause.h"
#include "paths/path_text.h"
#include "platform/posix/descriptor.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/write_back.h"

namespace tarnwipe {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

std::error_code Refused() { return std::make_error_code(std::errc::operation_not_permitted); }

int32_t AttributesOf(const struct stat& st, const std::string& sName) {
  int32_t lAttributes = 0;
  if (S_ISREG(st.st_mode)) {
    lAttributes |= kAttrArchive;
    if ((st.st_mode & S_IWUSR) == 0) lAttributes |= kAttrReadOnly;
  } else if (S_ISDIR(st.st_mode)) {
    lAttributes |= kAttrDirectory;
  } else if (S_ISLNK(st.st_mode)) {
    lAttributes |= kAttrArchive | kAttrLink;
  } else {
    lAttributes |= kAttrSystem;
  }
  if (!sName.empty() && sName[0] == '.' && sName != "." && sName != "..") lAttributes |= kAttrHidden;
  return lAttributes;
}

// File systems that write new data to new places and keep the old blocks until they are reused,
// by their statfs magic.
struct CopyKeeper {
  uint64_t lMagic;
  const char* pName;
};
constexpr CopyKeeper kCopyKeepers[] = {
    {BTRFS_SUPER_MAGIC, "btrfs"}, {0x2FC12FC1, "ZFS"}, {0xCA451A4E, "bcachefs"}, {F2FS_SUPER_MAGIC, "f2fs"}, {NILFS_SUPER_MAGIC, "nilfs2"},
    // A file of a lower layer is copied up when written: the lower layer keeps it whole.
    {OVERLAYFS_SUPER_MAGIC, "overlayfs (lower layers keep the original files)"}};

// The ext2/3/4 file system on device lDevice, with the reason, when it keeps copies of file
// data that overwriting cannot reach: mounted with data=journal (the file system's options in
// the mount table), or made with the inline_data
// feature, which keeps small files inside their inodes, whose blocks the journal copies (read
// from the superblock of the source; where it cannot be read, from the target's own inode flag).
// Empty otherwise.
std::string ExtKeepingCopies(const struct stat& st, const std::string& sPath) {
  constexpr off_t kIncompatFeatures = 1024 + 0x60;
  constexpr uint32_t kInlineDataFeature = 0x8000;
  constexpr int kInlineDataFlag = 0x10000000;
  const std::string sDevice = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  for (const Mount& mount : MountTable()) {
    if (mount.sDevice != sDevice) continue;
    if (("," + mount.sOptions + ",").find(",data=journal,") != std::string::npos) return mount.sType + " (data=journal)";
    uint32_t lFeatures = 0;
    const Descriptor device(::open(mount.sSource.c_str(), O_RDONLY | O_CLOEXEC));
    bool bInline = false;
    if (device.Get() >= 0 && ::pread(device.Get(), &lFeatures, sizeof lFeatures, kIncompatFeatures) == sizeof lFeatures) {
      bInline = (lFeatures & kInlineDataFeature) != 0;
    } else if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
      const Descriptor target(::open(sPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
      int iFlags = 0;
      bInline = target.Get() >= 0 && ::ioctl(target.Get(), FS_IOC_GETFLAGS, &iFlags) == 0 && (iFlags & kInlineDataFlag) != 0;
    }
    return bInline ? mount.sType + " (inline_data)" : "";
  }
  return {};
}

constexpr uint64_t kNtfs3 = 0x7366746e, kNtfs = 0x5346544e;  // the kernel's two NTFS drivers

// True for NTFS: by the kernel's drivers, or through FUSE (ntfs-3g), which alone gives an
// entry's NTFS attributes as an extended attribute.
bool IsNtfs(const struct statfs& info, const std::string& sPath) {
  const auto lType = static_cast<uint64_t>(info.f_type);
  uint32_t lAttributes = 0;
  return lType == kNtfs3 || lType == kNtfs ||
         (lType == FUSE_SUPER_MAGIC && ::lgetxattr(sPath.c_str(), "system.ntfs_attrib", &lAttributes, sizeof lAttributes) > 0);
}

// Opens sRelative below the folder iDirFd without following any link and without leaving its
// mount; a path that would has the open fail (ELOOP, EXDEV). A path longer than one call takes
// is walked in parts, each part beneath the folder the one before it opened, so that depth is
// no limit, as for rm.
int OpenBeneath(int iDirFd, const std::string& sRelative, uint64_t lFlags) {
  constexpr size_t kPart = 2048;
  if (const size_t p = sRelative.rfind('/', kPart); sRelative.size() > kPart && p != std::string::npos && p > 0) {
    const Descriptor part(OpenBeneath(iDirFd, sRelative.substr(0, p), O_PATH | O_DIRECTORY));
    return part.Get() < 0 ? -1 : OpenBeneath(part.Get(), sRelative.substr(p + 1), lFlags);
  }
  open_how how{};
  how.flags = lFlags | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
  return static_cast<int>(::syscall(SYS_openat2, iDirFd, sRelative.c_str(), &how, sizeof how));
}

// Unlinks the entry sName of the folder iFolderFd when accept(its lstat) holds, else refuses.
template <typename Accept>
std::error_code UnlinkIf(int iFolderFd, const std::string& sName, Accept accept) {
  struct stat st {};
  if (::fstatat(iFolderFd, sName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  if (!accept(st)) return Refused();
  return ::unlinkat(iFolderFd, sName.c_str(), 0) == 0 ? std::error_code() : LastError();
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Renames the entry sFrom of the folder iFolderFd to sTo, never over another entry: EEXIST when
// sTo is taken.
std::error_code RenameInFolder(int iFolderFd, const std::string& sFrom, const std::string& sTo) {
  if (::syscall(SYS_renameat2, iFolderFd, sFrom.c_str(), iFolderFd, sTo.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL) return LastError();
  // Some FUSE file systems take no flags: there the new name is looked up first.
  struct stat st {};
  if (::fstatat(iFolderFd, sTo.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return std::make_error_code(std::errc::file_exists);
  return ::renameat(iFolderFd, sFrom.c_str(), iFolderFd, sTo.c_str()) == 0 ? std::error_code() : LastError();
}

// True when the open folder holds no entry but "." and "..".
bool IsEmptyFolder(int iDirFd) {
  DIR* pDir = ::fdopendir(::dup(iDirFd));
  if (pDir == nullptr) return false;
  bool bEmpty = true;
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string sName = pEntry->d_name;
    bEmpty = bEmpty && (sName == "." || sName == "..");
  }
  ::closedir(pDir);
  return bEmpty;
}

// True for the file systems sticks carry, whose folders keep a removed entry's name where a
// recovery tool reads it (FAT, exFAT and NTFS, by the kernel or through FUSE); ext4, XFS and btrfs
// leave no name such a tool lists.
bool KeepsFreedEntries(int iDirFd) {
  constexpr uint64_t kTypes[] = {FUSE_SUPER_MAGIC, MSDOS_SUPER_MAGIC, EXFAT_SUPER_MAGIC, kNtfs3, kNtfs};
  struct statfs info {};
  return ::fstatfs(iDirFd, &info) == 0 &&
         std::find(std::begin(kTypes), std::end(kTypes), static_cast<uint64_t>(info.f_type)) != std::end(kTypes);
}

FolderKey KeyOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? FolderKey{st.st_dev, st.st_ino} : FolderKey{};
}

// The entry sName of the folder iFolderFd, held through both descriptors: a file's name, or a
// folder whose own descriptor is iDirFd. Whatever name it has by then is what goes.
class PosixHeldName : public HeldFolder {
 public:
  PosixHeldName(Descriptor folder, std::string sName, Descriptor dir = Descriptor())
      : m_folder(std::move(folder)), m_dir(std::move(dir)), m_sName(std::move(sName)), m_sNow(m_sName) {}
  ~PosixHeldName() override { RemoveFillers(); }

  bool KeepsFreedEntries() const override { return tarnwipe::KeepsFreedEntries(m_folder.Get()); }
  bool AreaKeepsFreedEntries() const override { return tarnwipe::KeepsFreedEntries(m_dir.Get()); }
  size_t NameLength() const override { return m_sName.size(); }
  std::error_code Rename(const std::string& sName) override {
    const std::string sTo = sName.empty() ? m_sName : sName;
    const std::error_code ec = RenameInFolder(m_folder.Get(), m_sNow, sTo);
    if (!ec) m_sNow = sTo;
    return ec;
  }
  std::error_code Delete() override {
    const int iFlags = m_dir.Get() >= 0 ? AT_REMOVEDIR : 0;
    return ::unlinkat(m_folder.Get(), m_sNow.c_str(), iFlags) == 0 ? std::error_code() : LastError();
  }
  FolderKey Folder() const override { return KeyOf(m_folder.Get()); }
  FolderKey Key() const override { return KeyOf(m_dir.Get()); }
  bool IsEmpty() const override { return IsEmptyFolder(m_dir.Get()); }
  int64_t AreaSize() const override {
    struct stat st {};
    return ::fstat(m_dir.Get(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
  }
  std::error_code AddFiller(const std::string& sName) override {
    if (m_asFillers.empty()) ::fstat(m_dir.Get(), &m_before);
    const int fd = ::openat(m_dir.Get(), sName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return LastError();
    ::close(fd);
    m_asFillers.push_back(sName);
    return {};
  }
  void RemoveFillers() override {
    for (const std::string& sFiller : m_asFillers) ::unlinkat(m_dir.Get(), sFiller.c_str(), 0);
    // Only a time that changed is put back: fusefat fails setting the times of a FAT top
    // folder, which has none.
    struct stat now {};
    if (!m_asFillers.empty() && ::fstat(m_dir.Get(), &now) == 0 &&
        (now.st_mtim.tv_sec != m_before.st_mtim.tv_sec || now.st_mtim.tv_nsec != m_before.st_mtim.tv_nsec)) {
      const timespec times[2] = {m_before.st_atim, m_before.st_mtim};
      ::futimens(m_dir.Get(), times);
    }
    m_asFillers.clear();
  }

 private:
  Descriptor m_folder;
  Descriptor m_dir;
  std::string m_sName;  // its own name
  std::string m_sNow;   // the name it has now
  std::vector<std::string> m_asFillers;
  struct stat m_before {};  // the folder as it was before the first filler
};

// Where the open folder fd lies within its file system, ending in the separator: its mount's
// root there (mountinfo's fourth field) joined with its path below the mount point. A bind mount
// of a folder deep inside a file system shows the folder's true place, whatever path reached it.
// Empty when it cannot be told.
std::string PlaceInFileSystem(int fd) {
  std::ifstream info("/proc/self/fdinfo/" + std::to_string(fd));
  std::string sMount;
  for (std::string sKey; info >> sKey && sKey != "mnt_id:";) {}
  info >> sMount;
  std::string sPath(PATH_MAX, '\0');
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), sPath.data(), sPath.size());
  if (sMount.empty() || n <= 0 || n >= static_cast<ssize_t>(sPath.size())) return {};
  sPath.resize(static_cast<size_t>(n));
  for (const Mount& mount : MountTable()) {
    if (mount.sId != sMount) continue;
    if (!paths::LiesIn(sPath, mount.sTop)) return {};
    const std::string sBelow = sPath.substr(mount.sTop.size() - 1);
    return paths::AsFolder((mount.sRoot == "/" ? "" : mount.sRoot) + sBelow);
  }
  return {};
}

// Whether the entry sName could be removed from the folder iFolderFd once overwritten: the folder
// writable to this process, neither immutable nor append-only, and, where the folder is sticky,
// the entry or the folder this user's. Where not, nothing may be written: a file overwritten and
// then kept is worse than one kept as it was.
std::error_code NameRemovable(int iFolderFd, const std::string& sName) {
  struct stat folder {};
  struct stat entry {};
  if (::fstat(iFolderFd, &folder) != 0 || ::fstatat(iFolderFd, sName.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  if (::faccessat(iFolderFd, ".", W_OK | X_OK, AT_EACCESS) != 0) {
    return errno == EROFS ? LastError() : make_error_code(KeptCause::kNameFixed);
  }
  const Descriptor listed(::openat(iFolderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  int iFlags = 0;
  if (listed.Get() >= 0 && ::ioctl(listed.Get(), FS_IOC_GETFLAGS, &iFlags) == 0 && (iFlags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0)
    return KeptCause::kNameFixed;
  const uid_t iUser = ::geteuid();
  if ((folder.st_mode & S_ISVTX) != 0 && iUser != 0 && entry.st_uid != iUser && folder.st_uid != iUser) return KeptCause::kNameFixed;
  return {};
}

// Gives a broken lease up at once, so that the program that opened the file does not wait for
// the erase to end; the engine then reads the passes back. fcntl is safe in a signal handler.
void GiveUpLease(int, siginfo_t* pInfo, void*) {
  const int iSaved = errno;
  ::fcntl(pInfo->si_fd, F_SETLEASE, F_UNLCK);
  errno = iSaved;
}

// A write lease is granted only while no other descriptor anywhere is open on the file, a
// mapping's included: a file that another program holds open or has mapped is in use and
// refused (EAGAIN). Where the system grants no lease (another owner's file, a file system
// without leases) bLeased stays false and the engine reads the passes back instead. When
// another program opens the file later, the lease only tells: GiveUpLease lets it through.
std::error_code TakeWriteLease(int fd, bool& bLeased) {
  static const int iLeaseSignal = [] {
    struct sigaction action {};
    action.sa_sigaction = GiveUpLease;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGRTMIN + 1, &action, nullptr);
    return SIGRTMIN + 1;
  }();
  ::fcntl(fd, F_SETSIG, iLeaseSignal);
  bLeased = ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0;
  if (!bLeased) return errno == EAGAIN ? std::make_error_code(std::errc::device_or_resource_busy) : std::error_code();
  ::fcntl(fd, F_SETOWN, ::getpid());
  return {};
}

}  // namespace

class PosixExclusiveFile : public ExclusiveFile {
 public:
  PosixExclusiveFile(PosixFileSystem& owner, std::string sPath, int fd, const struct stat& st, bool bLeased)
      : m_owner(owner), m_sPath(std::move(sPath)), m_fd(fd), m_st(st), m_bLeased(bLeased) {}
  ~PosixExclusiveFile() override { Close(); }

  int64_t Length() const override { return static_cast<int64_t>(m_st.st_size); }
  int64_t AllocatedBytes() const override { return static_cast<int64_t>(m_st.st_blocks) * 512; }
  int64_t BlockSize() const override { return static_cast<int64_t>(m_st.st_blksize); }

  // The file's extents, written and unwritten, from FIEMAP, synced first so that delayed
  // allocation shows. Data kept inline, in a tail or at a place the system cannot tell is no
  // range of blocks of the file's own: then no list, and the whole length is covered.
  std::error_code OwnedRanges(std::vector<ByteRange>& ranges) const override {
    ranges.clear();
    constexpr unsigned kBatch = 128;
    constexpr uint32_t kNotOwnBlocks = FIEMAP_EXTENT_DATA_INLINE | FIEMAP_EXTENT_DATA_TAIL | FIEMAP_EXTENT_UNKNOWN |
                                       FIEMAP_EXTENT_DELALLOC;
    std::vector<uint64_t> buffer((sizeof(fiemap) + kBatch * sizeof(fiemap_extent)) / sizeof(uint64_t) + 1);
    auto* pMap = reinterpret_cast<fiemap*>(buffer.data());
    for (uint64_t lStart = 0;;) {
      std::fill(buffer.begin(), buffer.end(), 0);
      pMap->fm_start = lStart;
      pMap->fm_length = FIEMAP_MAX_OFFSET - lStart;
      pMap->fm_flags = FIEMAP_FLAG_SYNC;
      pMap->fm_extent_count = kBatch;
      if (::ioctl(m_fd, FS_IOC_FIEMAP, pMap) != 0) return LastError();
      for (uint32_t i = 0; i < pMap->fm_mapped_extents; ++i) {
        const fiemap_extent& extent = pMap->fm_extents[i];
        if ((extent.fe_flags & kNotOwnBlocks) != 0) return std::make_error_code(std::errc::not_supported);
        ranges.push_back({static_cast<int64_t>(extent.fe_logical), static_cast<int64_t>(extent.fe_length)});
        if ((extent.fe_flags & FIEMAP_EXTENT_LAST) != 0) return {};
        lStart = extent.fe_logical + extent.fe_length;
      }
      if (pMap->fm_mapped_extents < kBatch) return {};
    }
  }

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    const ssize_t n = ::pwrite(m_fd, pData, static_cast<size_t>(lSize), lOffset);
    lWritten = n < 0 ? 0 : n;
    // A full quota is a full disk as far as the writer can tell.
    if (n < 0) return errno == EDQUOT ? std::make_error_code(std::errc::no_space_on_device) : LastError();
    return {};
  }

  std::error_code ReadAt(int64_t lOffset, char* pData, int64_t lSize, int64_t& lRead) override {
    const ssize_t n = ::pread(m_fd, pData, static_cast<size_t>(lSize), lOffset);
    lRead = n < 0 ? 0 : n;
    return n < 0 ? LastError() : std::error_code();
  }

  int64_t CurrentLength() const override {
    struct stat st {};
    return ::fstat(m_fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
  }

  std::error_code StartWriteBack(int64_t lOffset, int64_t lSize) override { return WriteBack(m_fd, lOffset, lSize, false); }

  std::error_code WaitWriteBack(int64_t lOffset, int64_t lSize) override { return WriteBack(m_fd, lOffset, lSize, true); }

  std::error_code Truncate(int64_t lLength) override {
    return ::ftruncate(m_fd, lLength) == 0 ? std::error_code() : LastError();
  }

  std::error_code Flush() override { return ::fdatasync(m_fd) == 0 ? std::error_code() : LastError(); }

  // syncfs reaches the medium on the file systems whose sync commits their journal or log and
  // flushes the disk's cache (ext4, XFS, btrfs), and reports their write-back errors since Linux
  // 5.8. FAT's writes its buffers but leaves the cache, and a FUSE daemon keeps its own.
  std::error_code FlushFileSystem() override {
    constexpr uint64_t kReaching[] = {EXT4_SUPER_MAGIC, XFS_SUPER_MAGIC, BTRFS_SUPER_MAGIC};
    struct statfs info {};
    if (::fstatfs(m_fd, &info) != 0) return LastError();
    if (std::find(std::begin(kReaching), std::end(kReaching), static_cast<uint64_t>(info.f_type)) == std::end(kReaching))
      return std::make_error_code(std::errc::not_supported);
    return ::syncfs(m_fd) == 0 ? std::error_code() : LastError();
  }

  // The write lease, taken at the open, is broken the moment anyone else opens the file.
  bool HeldAlone() const override { return m_bLeased && ::fcntl(m_fd, F_GETLEASE) == F_WRLCK; }

  std::error_code OpenStreams(std::vector<std::unique_ptr<ExclusiveFile>>& streams) override {
    streams.clear();
    return {};
  }

  std::error_code HoldName(std::unique_ptr<HeldName>& pName) override { return m_owner.HoldSameFile(m_sPath, m_st, pName); }

  std::error_code Close() override {
    if (m_fd < 0) return {};
    const int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0 ? std::error_code() : LastError();
  }

 private:
  PosixFileSystem& m_owner;
  std::string m_sPath;
  int m_fd;
  struct stat m_st;
  bool m_bLeased;
};

PosixFileSystem::~PosixFileSystem() { Unconfine(); }

std::error_code PosixFileSystem::Confine(const std::string& sRoot) {
  Unconfine();
  if (sRoot.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  m_iRootFd = ::open(sRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (m_iRootFd < 0) return LastError();
  m_held.Set(sRoot);
  return {};
}

void PosixFileSystem::Unconfine() {
  if (m_iRootFd >= 0) ::close(m_iRootFd);
  m_iRootFd = -1;
  m_held.Clear();
}

int PosixFileSystem::HeldDepthIn(const std::string& sFolder) const {
  struct stat targetSt {};
  if (m_iRootFd < 0 || ::stat(sFolder.c_str(), &targetSt) != 0) return -1;
  // Up from the held map through "..", which crosses out of a bind mount to where it is mounted.
  Descriptor folder(::openat(m_iRootFd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  for (int iDepth = 0;; ++iDepth) {
    struct stat st {};
    if (folder.Get() < 0 || ::fstat(folder.Get(), &st) != 0) return -1;
    if (SameInode(st, targetSt)) return iDepth;
    Descriptor parent(::openat(folder.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat above {};
    if (parent.Get() < 0 || ::fstat(parent.Get(), &above) != 0 || SameInode(above, st)) break;
    folder = std::move(parent);
  }
  // A bind mount of a folder inside sFolder leads up to where it is mounted, not to sFolder:
  // their places within the one file system tell.
  const Descriptor target(::open(sFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat held {};
  if (target.Get() < 0 || ::fstat(m_iRootFd, &held) != 0 || held.st_dev != targetSt.st_dev) return -1;
  const std::string sHeld = PlaceInFileSystem(m_iRootFd), sTarget = PlaceInFileSystem(target.Get());
  if (sHeld.empty() || sTarget.empty() || !paths::LiesIn(sHeld, sTarget)) return -1;
  return static_cast<int>(std::count(sHeld.begin() + static_cast<long>(sTarget.size()), sHeld.end(), '/'));
}

std::error_code PosixFileSystem::Locate(const std::string& sPath, int& iFolderFd, std::string& sName) const {
  iFolderFd = -1;
  std::string sRelative;
  if (!m_held.PartBelow(sPath, sRelative)) return Refused();
  const std::string sFolder = paths::FolderPart(sRelative);
  sName = paths::LastName(sRelative);
  if (sName == "." || sName == "..") return Refused();
  iFolderFd = OpenBeneath(m_iRootFd, sFolder.empty() ? "." : sFolder, O_PATH | O_DIRECTORY);
  return iFolderFd < 0 ? LastError() : std::error_code();
}

std::error_code PosixFileSystem::OpenFolder(const std::string& sPath, int& iFolderFd) const {
  const std::string sEntry = paths::WithoutSeparator(sPath);
  if (m_iRootFd < 0) {
    iFolderFd = ::open(sEntry.empty() ? "." : sEntry.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } else if (m_held.Names(sEntry)) {
    iFolderFd = ::openat(m_iRootFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } else if (std::string sRelative; m_held.PartBelow(sEntry, sRelative)) {
    iFolderFd = OpenBeneath(m_iRootFd, sRelative, O_RDONLY | O_DIRECTORY);
  } else {
    iFolderFd = -1;
    return Refused();
  }
  return iFolderFd < 0 ? LastError() : std::error_code();
}

bool PosixFileSystem::LStat(const std::string& sPath, struct stat& st) const {
  // A trailing separator would make lstat follow a link; the path names the entry itself.
  const std::string sEntry = paths::WithoutSeparator(sPath);
  if (sEntry.empty()) return false;
  if (m_iRootFd < 0) return ::lstat(sEntry.c_str(), &st) == 0;
  if (m_held.Names(sEntry)) return ::fstat(m_iRootFd, &st) == 0;
  int iFolderFd = -1;
  std::string sName;
  const std::error_code ec = Locate(sEntry, iFolderFd, sName);
  const Descriptor folder(iFolderFd);
  return !ec && ::fstatat(folder.Get(), sName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

int32_t PosixFileSystem::GetAttributes(const std::string& sPath) const {
  struct stat st {};
  return LStat(sPath, st) ? AttributesOf(st, paths::LastName(sPath)) : -1;
}

int64_t PosixFileSystem::FileLength(const std::string& sPath) const {
  struct stat st {};
  if (!LStat(sPath, st)) return -1;
  return S_ISLNK(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

std::string PosixFileSystem::ReadStart(const std::string& sPath, size_t lMax) const {
  const Descriptor file(::open(sPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  std::string sText(lMax, '\0');
  const ssize_t lRead = file.Get() < 0 ? -1 : ::read(file.Get(), sText.data(), lMax);
  sText.resize(lRead > 0 ? static_cast<size_t>(lRead) : 0);
  return sText;
}

namespace {

EntryIdentity IdentityOf(const struct stat& st) {
  EntryIdentity id;
  id.kind = S_ISREG(st.st_mode)   ? EntryIdentity::Kind::kFile
            : S_ISDIR(st.st_mode) ? EntryIdentity::Kind::kFolder
                                  : EntryIdentity::Kind::kOther;
  id.lVolume = static_cast<uint64_t>(st.st_dev);
  id.lId = static_cast<uint64_t>(st.st_ino);
  id.lLinks = static_cast<uint64_t>(st.st_nlink);
  return id;
}

// The entry sName of a folder of the held map, pinned as a path handle first (never opened
// for anything, so that the checks, the permission change and the open all concern one and
// the same inode), then opened below the folder without following a link.
class PosixOpenSteps : public ExclusiveOpenSteps {
 public:
  PosixOpenSteps(PosixFileSystem& owner, std::string sPath, Descriptor folder, std::string sName)
      : m_owner(owner), m_sPath(std::move(sPath)), m_folder(std::move(folder)), m_sName(std::move(sName)) {}

  std::error_code Pin(EntryIdentity& id) override {
    // A file mounted over the entry is refused here (EXDEV).
    m_pinned = Descriptor(OpenBeneath(m_folder.Get(), m_sName, O_PATH | O_NOFOLLOW));
    if (m_pinned.Get() < 0 || ::fstat(m_pinned.Get(), &m_st) != 0) return LastError();
    id = IdentityOf(m_st);
    return {};
  }

  std::error_code MakeWritable() override {
    if ((m_st.st_mode & S_IWUSR) != 0) return {};
    const std::string sPinned = "/proc/self/fd/" + std::to_string(m_pinned.Get());
    return ::chmod(sPinned.c_str(), (m_st.st_mode & 07777) | S_IWUSR) == 0 ? std::error_code() : LastError();
  }

  std::error_code OpenForWriting(EntryIdentity& id) override {
    // Read access as well where the owner may read, so that the passes can be read back.
    int fd = OpenBeneath(m_folder.Get(), m_sName, O_RDWR | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0 && errno == EACCES) fd = OpenBeneath(m_folder.Get(), m_sName, O_WRONLY | O_NOFOLLOW | O_NONBLOCK);
    m_file = Descriptor(fd);
    if (m_file.Get() < 0 || ::fstat(m_file.Get(), &m_st) != 0) return LastError();
    id = IdentityOf(m_st);
    if (::flock(m_file.Get(), LOCK_EX | LOCK_NB) != 0) return LastError();
    return TakeWriteLease(m_file.Get(), m_bLeased);
  }

  std::unique_ptr<ExclusiveFile> Opened() override {
    return std::make_unique<PosixExclusiveFile>(m_owner, m_sPath, m_file.Release(), m_st, m_bLeased);
  }

 private:
  PosixFileSystem& m_owner;
  std::string m_sPath;
  Descriptor m_folder;
  std::string m_sName;
  Descriptor m_pinned;
  Descriptor m_file;
  struct stat m_st {};
  bool m_bLeased = false;
};

}  // namespace

std::error_code PosixFileSystem::PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) {
  pSteps.reset();
  int iFolderFd = -1;
  std::string sName;
  const std::error_code ec = Locate(sPath, iFolderFd, sName);
  Descriptor folder(iFolderFd);
  if (ec) return ec;
  if (std::error_code ecName = NameRemovable(folder.Get(), sName)) return ecName;
  pSteps = std::make_unique<PosixOpenSteps>(*this, sPath, std::move(folder), sName);
  return {};
}

std::error_code PosixFileSystem::HoldSameFile(const std::string& sPath, const struct stat& opened,
                                              std::unique_ptr<HeldName>& pName) const {
  int iFolderFd = -1;
  std::string sName;
  const std::error_code ec = Locate(sPath, iFolderFd, sName);
  Descriptor folder(iFolderFd);
  if (ec) return ec;
  // A name that leads elsewhere now was replaced; it is not this program's to remove.
  struct stat st {};
  if (::fstatat(folder.Get(), sName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  if (!SameInode(st, opened)) return KeptCause::kReplaced;
  pName = std::make_unique<PosixHeldName>(std::move(folder), sName);
  return {};
}

std::error_code PosixFileSystem::RemoveLink(const std::string& sPath) {
  int iFolderFd = -1;
  std::string sName;
  const std::error_code ec = Locate(sPath, iFolderFd, sName);
  const Descriptor folder(iFolderFd);
  if (ec) return ec;
  return UnlinkIf(folder.Get(), sName, [](const struct stat& st) { return S_ISLNK(st.st_mode); });
}

std::error_code PosixFileSystem::HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) {
  pFolder.reset();
  if (m_held.Names(sPath)) return HoldRoot(pFolder);
  int iFolderFd = -1;
  std::string sName;
  const std::error_code ec = Locate(sPath, iFolderFd, sName);
  Descriptor folder(iFolderFd);
  if (ec) return ec;
  // A link in the folder's place fails here (ELOOP), a mount point too (EXDEV).
  Descriptor dir(OpenBeneath(folder.Get(), sName, O_RDONLY | O_NOFOLLOW | O_DIRECTORY));
  if (dir.Get() < 0) return LastError();
  pFolder = std::make_unique<PosixHeldName>(std::move(folder), sName, std::move(dir));
  return {};
}

std::error_code PosixFileSystem::HoldRoot(std::unique_ptr<HeldFolder>& pFolder) const {
  const std::string sRoot = paths::WithoutSeparator(m_held.Path());
  const std::string sParent = paths::FolderPart(sRoot);
  if (paths::IsRoot(sRoot) || sParent.empty()) return Refused();
  Descriptor parent(::open(sParent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (parent.Get() < 0) return LastError();
  const std::string sName = paths::LastName(sRoot);
  struct stat held {};
  struct stat named {};
  if (::fstat(m_iRootFd, &held) != 0 || ::fstatat(parent.Get(), sName.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  if (!SameInode(held, named)) return Refused();
  Descriptor dir(::openat(m_iRootFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() < 0) return LastError();
  pFolder = std::make_unique<PosixHeldName>(std::move(parent), sName, std::move(dir));
  return {};
}

std::vector<FolderEntry> PosixFileSystem::ListFolder(const std::string& sFolder) const {
  std::vector<FolderEntry> entries;
  int iFolderFd = -1;
  if (OpenFolder(sFolder, iFolderFd)) return entries;
  DIR* pDir = ::fdopendir(iFolderFd);
  if (pDir == nullptr) {
    ::close(iFolderFd);
    return entries;
  }
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string sName = pEntry->d_name;
    if (sName == "." || sName == "..") continue;
    struct stat st {};
    const int32_t lAttributes =
        ::fstatat(iFolderFd, pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? AttributesOf(st, sName) : -1;
    entries.push_back({sName, lAttributes});
  }
  ::closedir(pDir);
  return entries;
}

FolderAccess PosixFileSystem::ProbeFolder(const std::string& sFolder) const {
  int iFolderFd = -1;
  const std::error_code ec = OpenFolder(sFolder, iFolderFd);
  const Descriptor folder(iFolderFd);
  if (ec == std::errc::cross_device_link) return FolderAccess::kOtherFileSystem;
  return ec ? FolderAccess::kUnreadable : FolderAccess::kReadable;
}

std::string PosixFileSystem::FileSystemKeepingCopies(const std::string& sPath) const {
  struct statfs info {};
  if (::statfs(sPath.c_str(), &info) != 0) return {};
  for (const CopyKeeper& keeper : kCopyKeepers) {
    if (static_cast<uint64_t>(info.f_type) == keeper.lMagic) return keeper.pName;
  }
  if (IsNtfs(info, sPath)) return kNtfsNames;
  struct stat st {};
  const bool bExt = static_cast<uint64_t>(info.f_type) == EXT4_SUPER_MAGIC && ::stat(sPath.c_str(), &st) == 0;
  return bExt ? ExtKeepingCopies(st, sPath) : "";
}

std::string PosixFileSystem::CanonicalPath(const std::string& sPath) const {
  if (!paths::IsAbsolute(sPath)) return sPath;
  return paths::ResolveLeadingPart(sPath, [](const std::string& sHead) {
    char resolved[PATH_MAX];
    return ::realpath(sHead.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
  });
}

}  // namespace tarnwipe
