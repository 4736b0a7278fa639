// A Trash's record of where a trashed item came from.
#pragma once

#include <string>

namespace tarnwipe {

// The records are read this far: a path is never longer.
inline constexpr size_t kRecordBytes = 70000;

// The original path in a freedesktop.org .trashinfo: its Path= line, percent-decoded and, in a
// Trash on a disk's top folder, taken as below sTop where relative. Empty when there is none.
std::string TrashInfoPath(const std::string& sRecord, const std::string& sTop);

// The original path in a Recycle Bin's $I record (version 1 or 2), from UTF-16 to UTF-8.
std::string RecycleRecordPath(const std::string& sRecord);

}  // namespace tarnwipe
