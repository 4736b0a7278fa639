// The real file layer with a recorder in between: what was written where, flushes, removals,
// and failures injected where the disk would not fail on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"

namespace tarnwipe::test {

class RecordingFileSystem : public PosixFileSystem {
 public:
  struct Write {
    int64_t lOffset;
    int64_t lSize;
    char cFiller;  // the first byte written
    bool bUniform; // every byte equal to cFiller
  };
  struct Removal {
    std::string sPath;
    int64_t lSizeBefore;     // the file's size just before it was removed
    std::string sContent;    // its content then, for files up to 64 KiB
  };

  std::vector<Write> writes;
  int iFlushes = 0;
  std::vector<int64_t> truncations;
  std::vector<Removal> removals;

  int iFailWriteAt = -1;   // the index of the write that fails with EIO
  int iFailFlushAt = -1;   // the index of the flush that fails with EIO
  int64_t lNoRoomFrom = -1;  // writes reaching past this offset stop there with ENOSPC
  bool bSwallowWrites = false;  // record writes without passing them on

  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveFile(const std::string& sPath) override;
};

}  // namespace tarnwipe::test
