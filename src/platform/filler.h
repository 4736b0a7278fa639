// The files a free-space run fills a disk's free space with.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace tarnwipe {

// What a disk has room for.
struct DiskSpace {
  int64_t lAvailable = 0;  // bytes the files of this user may still take
  int64_t lFree = 0;       // bytes free in all, the administrator's reserve included
  std::string sType;       // the file system's name: "ext4", "vfat", "ntfs", ...
  std::string sTop;        // the folder it is mounted on (a drive's root), ending in the separator
  int64_t lJournal = 0;    // bytes of the journal that keeps copies of changed records; 0 where none is known
  bool bKeepsUncounted = false;  // it keeps free space back for its own records without counting it (XFS)
};

// A file of a free-space run's own. It goes when it is let go, and when the program dies as well
// where the file system allows that (an unnamed file, a file deleted on close).
class Filler {
 public:
  virtual ~Filler() = default;

  // One write of at most lSize bytes at lOffset; lWritten tells how many landed.
  virtual std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) = 0;

  // As for an ExclusiveFile: starts the write-back of a written range, or waits for it, so that
  // Flush, and a stop, never wait long; an error of the wait is reported nowhere else.
  virtual std::error_code StartWriteBack(int64_t lOffset, int64_t lSize) = 0;
  virtual std::error_code WaitWriteBack(int64_t lOffset, int64_t lSize) = 0;

  // Waits until everything written to it is on the medium.
  virtual std::error_code Flush() = 0;

  // Commits the records of its whole file system: space that files gave back is free to new ones
  // only once the records that freed it are (ext4 frees it at its journal's commit).
  virtual std::error_code CommitFileSystem() = 0;
};

// Empty files of a free-space run's own, whose records are changed together: each Rewrite()
// gives them all a new time and makes that durable at once, so that the file system's journal
// logs their record blocks. They go when it is let go.
class RecordRewriter {
 public:
  virtual ~RecordRewriter() = default;
  virtual std::error_code Rewrite() = 0;
};

}  // namespace tarnwipe
