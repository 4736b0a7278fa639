// POSIX file layer. Every refusal leaves the file's content as it was.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

namespace tarnwipe {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

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

std::string FinalName(const std::string& sPath) {
  std::string sTrimmed = sPath;
  while (sTrimmed.size() > 1 && sTrimmed.back() == '/') sTrimmed.pop_back();
  const auto p = sTrimmed.rfind('/');
  return p == std::string::npos ? sTrimmed : sTrimmed.substr(p + 1);
}

// An open descriptor that closes itself.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int Get() const { return m_fd; }
  int Release() { return std::exchange(m_fd, -1); }

 private:
  int m_fd;
};

class PosixExclusiveFile : public ExclusiveFile {
 public:
  PosixExclusiveFile(int fd, int64_t lLength) : m_fd(fd), m_lLength(lLength) {}
  ~PosixExclusiveFile() override { Close(); }

  int64_t Length() const override { return m_lLength; }

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    lWritten = 0;
    while (lWritten < lSize) {
      const ssize_t n = ::pwrite(m_fd, pData + lWritten, static_cast<size_t>(lSize - lWritten), lOffset + lWritten);
      if (n < 0) {
        if (errno == EINTR) continue;
        // A full quota is a full disk as far as the writer can tell.
        return errno == EDQUOT ? std::make_error_code(std::errc::no_space_on_device) : LastError();
      }
      if (n == 0) return std::make_error_code(std::errc::no_space_on_device);
      lWritten += n;
    }
    return {};
  }

  void StartWriteBack(int64_t lOffset, int64_t lSize) override {
    ::sync_file_range(m_fd, lOffset, lSize, SYNC_FILE_RANGE_WRITE);
  }

  void WaitWriteBack(int64_t lOffset, int64_t lSize) override {
    ::sync_file_range(m_fd, lOffset, lSize,
                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
  }

  std::error_code Truncate(int64_t lLength) override {
    return ::ftruncate(m_fd, lLength) == 0 ? std::error_code() : LastError();
  }

  std::error_code Flush() override { return ::fdatasync(m_fd) == 0 ? std::error_code() : LastError(); }

  std::error_code Close() override {
    if (m_fd < 0) return {};
    const int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0 ? std::error_code() : LastError();
  }

 private:
  int m_fd;
  int64_t m_lLength;
};

}  // namespace

int32_t PosixFileSystem::GetAttributes(const std::string& sPath) const {
  // A trailing separator would make lstat follow a link; the path names the entry itself.
  std::string sEntry = sPath;
  while (sEntry.size() > 1 && sEntry.back() == '/') sEntry.pop_back();
  struct stat st {};
  if (sEntry.empty() || ::lstat(sEntry.c_str(), &st) != 0) return -1;
  return AttributesOf(st, FinalName(sEntry));
}

int64_t PosixFileSystem::FileLength(const std::string& sPath) const {
  struct stat st {};
  if (sPath.empty() || ::lstat(sPath.c_str(), &st) != 0) return -1;
  return S_ISLNK(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

std::error_code PosixFileSystem::OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) {
  pFile.reset();
  // Pin the inode first without opening it for anything, so that the checks, the permission
  // change and the open all concern one and the same file.
  Descriptor pinned(::open(sPath.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  if (pinned.Get() < 0) return LastError();
  struct stat st {};
  if (::fstat(pinned.Get(), &st) != 0) return LastError();
  if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(st.st_mode)) return std::make_error_code(std::errc::operation_not_supported);
  if (st.st_nlink > 1) return std::make_error_code(std::errc::too_many_links);
  if ((st.st_mode & S_IWUSR) == 0) {
    const std::string sPinned = "/proc/self/fd/" + std::to_string(pinned.Get());
    if (::chmod(sPinned.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) return LastError();
  }
  Descriptor file(::open(sPath.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) return LastError();
  struct stat opened {};
  if (::fstat(file.Get(), &opened) != 0) return LastError();
  if (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino || !S_ISREG(opened.st_mode) || opened.st_nlink > 1)
    return std::make_error_code(std::errc::operation_not_permitted);
  if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return LastError();
  pFile = std::make_unique<PosixExclusiveFile>(file.Release(), static_cast<int64_t>(opened.st_size));
  return {};
}

std::error_code PosixFileSystem::RemoveFile(const std::string& sPath) {
  return ::unlink(sPath.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code PosixFileSystem::RemoveFolder(const std::string& sPath) {
  return ::rmdir(sPath.c_str()) == 0 ? std::error_code() : LastError();
}

std::vector<FolderEntry> PosixFileSystem::ListFolder(const std::string& sFolder) const {
  std::vector<FolderEntry> entries;
  DIR* pDir = ::opendir(sFolder.empty() ? "." : sFolder.c_str());
  if (pDir == nullptr) return entries;
  const int dirFd = ::dirfd(pDir);
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string sName = pEntry->d_name;
    if (sName == "." || sName == "..") continue;
    struct stat st {};
    const int32_t lAttributes =
        ::fstatat(dirFd, pEntry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? AttributesOf(st, sName) : -1;
    entries.push_back({sName, lAttributes});
  }
  ::closedir(pDir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.sName < b.sName; });
  return entries;
}

bool PosixFileSystem::CanReadFolder(const std::string& sFolder) const {
  DIR* pDir = ::opendir(sFolder.c_str());
  if (pDir == nullptr) return false;
  ::closedir(pDir);
  return true;
}

std::string PosixFileSystem::CanonicalPath(const std::string& sPath) const {
  if (sPath.empty() || sPath[0] != '/') return sPath;
  const bool bFolder = sPath.back() == '/';
  // Resolve the longest leading part that exists; what does not exist is kept as written.
  std::string sHead = sPath;
  std::string sRest;
  for (;;) {
    char resolved[PATH_MAX];
    if (::realpath(sHead.c_str(), resolved) != nullptr) {
      std::string sResult = resolved;
      if (!sRest.empty()) sResult += (sResult == "/" ? "" : "/") + sRest;
      if (bFolder && sResult.back() != '/') sResult += '/';
      return sResult;
    }
    while (sHead.size() > 1 && sHead.back() == '/') sHead.pop_back();
    const auto p = sHead.rfind('/');
    const std::string sPart = sHead.substr(p + 1);
    sRest = sRest.empty() ? sPart : sPart + "/" + sRest;
    sHead = sHead.substr(0, p + 1);
  }
}

std::string PosixFileSystem::ReadText(const std::string& sPath) const {
  std::ifstream in(sPath, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tarnwipe
