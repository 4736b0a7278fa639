// One item of a selection: a file, or a map (a folder, its path ending in the separator).
#pragma once

#include <string>

namespace tarnwipe {

struct Target {
  std::string sPath;
  bool bMap = false;

  bool operator==(const Target&) const = default;
};

}  // namespace tarnwipe
