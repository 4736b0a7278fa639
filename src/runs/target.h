// One item of a selection: what it is and where.
#pragma once

#include <string>

namespace tarnwipe {

// What a target is erased as.
enum class TargetKind {
  kFile,  // one file (or a link, removed as a link)
  kMap,    // a folder, walked with the pattern list; its path ends in the separator
  kTrash,  // every item in this user's Trash (Recycle Bin), on every disk; its path is kTrashItem
};

// What stands for the Trash where a path would: on the command line and in a hand-off.
inline constexpr char kTrashItem[] = "--trash";

struct Target {
  std::string sPath;
  TargetKind eKind = TargetKind::kFile;

  bool IsMap() const { return eKind == TargetKind::kMap; }
  bool operator==(const Target&) const = default;
};

}  // namespace tarnwipe
