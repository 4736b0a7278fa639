// Test paths are written the POSIX way; on Windows they stand for the same path on drive C:.
#pragma once

#include <algorithm>
#include <string>

#include "paths/path_text.h"

namespace tarnwipe::test {

// "/home/u/a" as this platform writes it ("C:\home\u\a" on Windows); a native path stays as it is.
inline std::string Native(std::string sPath) {
  std::replace(sPath.begin(), sPath.end(), '/', paths::Separator());
  if (paths::Separator() != '/' && !sPath.empty() && sPath[0] == paths::Separator()) sPath = "C:" + sPath;
  return sPath;
}

// A path below a folder written with "/" again, as the tests compare it.
inline std::string Portable(std::string sPath) {
  std::replace(sPath.begin(), sPath.end(), paths::Separator(), '/');
  return sPath;
}

}  // namespace tarnwipe::test
