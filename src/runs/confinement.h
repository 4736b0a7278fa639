// Holds a run's map on the file layer for as long as the run lasts.
#pragma once

#include <string>

#include "engine/name_removal.h"
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

// Overwrites what the entry area of sFolder, which stays, still holds of the names removal took
// from it, where its file system keeps them; the folder is held for it.
inline void FillStayingFolder(FileSystem& fs, NameRemoval& removal, const std::string& sFolder) {
  const Confinement held(fs, sFolder);
  if (held.Held()) removal.FillFolder(fs, sFolder);
}

}  // namespace tarnwipe
