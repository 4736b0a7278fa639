// Write-back of a written range of an open file, started or waited for (sync_file_range).
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace tarnwipe {

// A wait reports, and so consumes, a write error of the range: it must reach the caller, for
// the next fdatasync will not see it again. A file system without range write-back has nothing
// started and nothing to report; fdatasync does the work there.
inline std::error_code WriteBack(int fd, int64_t lOffset, int64_t lSize, bool bWait) {
  const unsigned int iFlags = bWait ? SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER
                                    : SYNC_FILE_RANGE_WRITE;
  if (::sync_file_range(fd, lOffset, lSize, iFlags) == 0) return {};
  return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == ESPIPE
             ? std::error_code()
             : std::error_code(errno, std::generic_category());
}

}  // namespace tarnwipe
