// Times a walk of a folder tree by CDirDrill, counting its events.
//   walk_bench DIR
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/posix/posix_file_system.h"
#include "walker/c_dir_drill.h"

namespace {

class Counter : public tarnwipe::DirDrillEvents {
 public:
  long lFiles = 0;
  long lFolders = 0;
  void NewFile(const std::string&, int64_t& lBytes, bool&) override {
    ++lFiles;
    lBytes = 0;
  }
  void NewFolder(const std::string&, bool&) override { ++lFolders; }
  void LeftOver(const std::string&, int32_t, int32_t) override {}
  void Done(int32_t, int32_t, double) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  tarnwipe::PosixFileSystem fs;
  tarnwipe::CDirDrill dd(fs, "/");
  Counter counter;
  dd.SetEvents(&counter);
  dd.SetAttributeMask(39);
  const auto start = std::chrono::steady_clock::now();
  dd.BeginSearch(argv[1]);
  const double dblSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f %ld %ld\n", dblSeconds, counter.lFiles, counter.lFolders);
  return 0;
}
