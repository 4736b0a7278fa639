// The real file layer with a recorder in between: what was written where, flushes, removals,
// and failures injected where the disk would not fail on its own.
#pragma once

#include <cstdint>
#include <functional>
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
  // Runs before every open, removal and listing, with the call's name and path, so that a test
  // can change the tree at that very moment.
  std::function<void(const std::string& sCall, const std::string& sPath)> beforeCall;

  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveLink(const std::string& sPath) override;
  std::error_code RemoveFolder(const std::string& sPath) override;
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override;

  // Records a removal of sPath with its size and small content, as they are now.
  void RecordRemoval(const std::string& sPath);
  void Before(const std::string& sCall, const std::string& sPath) const {
    if (beforeCall) beforeCall(sCall, sPath);
  }
};

}  // namespace tarnwipe::test
