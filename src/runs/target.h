// One item of a selection: what it is and where.
#pragma once

#include <string>

namespace tarnwipe {

// What a target is erased as.
enum class TargetKind {
  kFile,       // one file (or a link, removed as a link)
  kMap,        // a folder, walked with the pattern list; its path ends in the separator
  kTrash,      // every item in this user's Trash (Recycle Bin), on every disk; its path is kTrashItem
  kFreeSpace,  // the free space of the disk that holds the folder sPath
};

// What stands for the Trash where a path would: on the command line and in a hand-off.
inline constexpr char kTrashItem[] = "--trash";
// What comes before a folder whose disk's free space is the target, in the same places.
inline constexpr char kFreeSpaceItem[] = "--free-space=";

struct Target {
  std::string sPath;
  TargetKind eKind = TargetKind::kFile;

  bool IsMap() const { return eKind == TargetKind::kMap; }
  bool operator==(const Target&) const = default;
};

}  // namespace tarnwipe
