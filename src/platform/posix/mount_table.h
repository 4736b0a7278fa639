// The mounts this process sees, from the kernel's mount table.
#pragma once

#include <string>
#include <vector>

namespace tarnwipe {

struct Mount {
  std::string sId;       // the mount's id, as /proc/self/fdinfo names it (mnt_id)
  std::string sDevice;   // the device's "major:minor"
  std::string sRoot;     // the folder of its file system that is mounted
  std::string sTop;      // the folder it is mounted on, ending in the separator
  std::string sType;     // its file system's type: "ext4", "vfat", "fuseblk", ...
  std::string sSource;   // what is mounted: a device's path, or a name
  std::string sOptions;  // the file system's own options ("rw,data=journal")
};

// Every mount, in the order they were made; blanks and backslashes in the folders, which the
// table writes as octal escapes, are given back.
std::vector<Mount> MountTable();

}  // namespace tarnwipe
