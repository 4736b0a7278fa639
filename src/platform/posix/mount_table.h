// The mounts this process sees, from the kernel's mount table.
#pragma once

#include <string>
#include <vector>

namespace tarnwipe {

struct Mount {
  std::string sTop;   // the folder it is mounted on, ending in the separator
  std::string sType;  // its file system's type: "ext4", "vfat", "fuseblk", ...
};

// Every mount, in the order they were made; blanks and backslashes in the mount points, which
// the table writes as octal escapes, are given back.
std::vector<Mount> MountTable();

}  // namespace tarnwipe
