// The floor a file eraser cannot beat: for every file below a folder, open it, write its whole
// length six times, each write followed by fdatasync, and unlink it; then remove the folders.
//   plain_floor DIR      prints the seconds taken
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

int EraseEntry(const char* pPath, const struct stat* pSt, int iType, FTW*) {
  if (iType == FTW_DP) return ::rmdir(pPath);
  if (iType != FTW_F) return 0;
  const int fd = ::open(pPath, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  std::vector<char> buffer(static_cast<size_t>(pSt->st_size));
  for (char cFiller = '0'; cFiller <= '5'; ++cFiller) {
    std::fill(buffer.begin(), buffer.end(), cFiller);
    if (::pwrite(fd, buffer.data(), buffer.size(), 0) != static_cast<ssize_t>(buffer.size()) || ::fdatasync(fd) != 0)
      return -1;
  }
  ::close(fd);
  return ::unlink(pPath);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  if (::nftw(argv[1], EraseEntry, 64, FTW_DEPTH | FTW_PHYS) != 0) return 1;
  std::printf("seconds %.3f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}
