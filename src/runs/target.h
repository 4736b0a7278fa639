// One item of a selection: what it is and where.
#pragma once

#include <string>

namespace tarnwipe {

// What a target is erased as.
enum class TargetKind {
  kFile,  // one file (or a link, removed as a link)
  kMap,   // a folder, walked with the pattern list; its path ends in the separator
};

struct Target {
  std::string sPath;
  TargetKind eKind = TargetKind::kFile;

  bool IsMap() const { return eKind == TargetKind::kMap; }
  bool operator==(const Target&) const = default;
};

}  // namespace tarnwipe
