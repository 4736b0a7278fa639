// What became of one file the engine was given: erased, or kept and why.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace tarnwipe {

struct FileOutcome {
  std::string sName;          // the file's name, as its lines show it
  int64_t lBytes = 0;         // its length, as chosen and counted
  int64_t lInUse = 0;         // bytes of it in blocks of its own, which the passes wrote
  std::error_code ec;         // the error of the step that kept it; none when it was erased
  bool bOverwritten = false;  // kept after every pass landed: only its name could not be removed
  bool bNameLeft = false;     // erased, but its name could not be renamed away first
  bool bLink = false;         // a link, removed as a link

  bool Erased() const { return !ec; }
};

}  // namespace tarnwipe
