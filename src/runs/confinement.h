// Holds a run's map on the file layer for as long as the run lasts.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace tarnwipe {

// While it lives, everything below sRoot is reached through the held folder; nothing outside
// it can be overwritten or removed.
class Confinement {
 public:
  Confinement(FileSystem& fs, const std::string& sRoot) : m_fs(fs), m_bHeld(!fs.Confine(sRoot)) {}
  Confinement(const Confinement&) = delete;
  Confinement& operator=(const Confinement&) = delete;
  ~Confinement() {
    if (m_bHeld) m_fs.Unconfine();
  }

  // False when sRoot could not be held (it is gone, or no folder).
  bool Held() const { return m_bHeld; }

 private:
  FileSystem& m_fs;
  bool m_bHeld;
};

}  // namespace tarnwipe
