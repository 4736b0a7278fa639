// A disk that fails on cue, for the tests: a FUSE file system with one file, "disk", kept in a
// backing file, and a control file, "ctl". Each line written to "ctl" ("START LENGTH SKIP")
// makes writes into that byte range of "disk" fail with EIO, after the first SKIP of them have
// landed. A loop device over "disk" carries a real file system whose writes then fail where the
// test chose. Usage: failing_disk BACKING MOUNTPOINT [FUSE options]
#define FUSE_USE_VERSION 31
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct FailingRange {
  off_t lStart, lLength;
  int iSkip;
};

int g_iBacking = -1;
std::vector<FailingRange> g_ranges;

int GetAttr(const char* pPath, struct stat* pSt, fuse_file_info*) {
  std::memset(pSt, 0, sizeof *pSt);
  if (std::strcmp(pPath, "/") == 0) {
    pSt->st_mode = S_IFDIR | 0755;
    pSt->st_nlink = 2;
    return 0;
  }
  struct stat backing {};
  if (std::strcmp(pPath, "/disk") == 0 && ::fstat(g_iBacking, &backing) == 0) {
    pSt->st_mode = S_IFREG | 0600;
    pSt->st_size = backing.st_size;
  } else if (std::strcmp(pPath, "/ctl") == 0) {
    pSt->st_mode = S_IFREG | 0600;
  } else {
    return -ENOENT;
  }
  pSt->st_nlink = 1;
  return 0;
}

int ReadDir(const char*, void* pBuffer, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags) {
  for (const char* pName : {".", "..", "disk", "ctl"}) fill(pBuffer, pName, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
  return 0;
}

int Open(const char*, fuse_file_info* pInfo) {
  pInfo->direct_io = 1;  // every write of the loop device reaches this program
  return 0;
}

int Read(const char* pPath, char* pData, size_t lSize, off_t lOffset, fuse_file_info*) {
  if (std::strcmp(pPath, "/disk") != 0) return 0;
  const ssize_t n = ::pread(g_iBacking, pData, lSize, lOffset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char* pPath, const char* pData, size_t lSize, off_t lOffset, fuse_file_info*) {
  if (std::strcmp(pPath, "/ctl") == 0) {
    std::istringstream in(std::string(pData, lSize));
    for (FailingRange range{}; in >> range.lStart >> range.lLength >> range.iSkip;) g_ranges.push_back(range);
    return static_cast<int>(lSize);
  }
  for (FailingRange& range : g_ranges) {
    if (lOffset < range.lStart + range.lLength && range.lStart < lOffset + static_cast<off_t>(lSize) && range.iSkip-- <= 0)
      return -EIO;
  }
  const ssize_t n = ::pwrite(g_iBacking, pData, lSize, lOffset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int Truncate(const char*, off_t, fuse_file_info*) { return 0; }

int Flush(const char*, int, fuse_file_info*) { return ::fdatasync(g_iBacking) == 0 ? 0 : -errno; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  g_iBacking = ::open(argv[1], O_RDWR | O_CLOEXEC);
  if (g_iBacking < 0) return 1;
  fuse_operations operations{};
  operations.getattr = GetAttr;
  operations.readdir = ReadDir;
  operations.open = Open;
  operations.read = Read;
  operations.write = Write;
  operations.truncate = Truncate;
  operations.fsync = Flush;
  std::vector<char*> args = {argv[0], argv[2], const_cast<char*>("-s")};
  for (int i = 3; i < argc; ++i) args.push_back(argv[i]);
  return fuse_main(static_cast<int>(args.size()), args.data(), &operations, nullptr);
}
