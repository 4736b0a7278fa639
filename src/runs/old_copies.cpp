// The two old-copies texts.
#include "runs/old_copies.h"

namespace tarnwipe {

std::string OldCopiesNote(const std::string& sFileSystem) {
  return "This " + sFileSystem + " file system keeps old copies that overwriting cannot reach.";
}

std::string OldCopiesWarning(const std::string& sFileSystem) {
  if (sFileSystem.empty()) return {};
  return "\r\n  Warning: " + sFileSystem + " keeps old copies that overwriting cannot reach; they may still be found.";
}

}  // namespace tarnwipe
