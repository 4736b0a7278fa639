// CDirDrill: walks a folder tree by a pattern list and an attribute mask and reports by events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "walker/dir_drill_events.h"

namespace tarnwipe {

class CDirDrill {
 public:
  // Caps that keep one search bounded: files stored per folder visit, folders per search.
  static constexpr int32_t kMaxFiles = 3000;
  static constexpr int32_t kMaxFolders = 3000;
  // Lists grow by this many entries at a time.
  static constexpr int32_t kGrowth = 30;

  CDirDrill(const FileSystem& fs, std::string sInitialFolder);

  void SetEvents(DirDrillEvents* pEvents) { m_pEvents = pEvents; }

  int32_t AttributeMask() const { return m_lAttributeMask; }
  void SetAttributeMask(int32_t lNewMask) { m_lAttributeMask = lNewMask; }

  // A copy of the visited-folder list: index 0 and the spare entries are empty.
  std::vector<std::string> DirsDone() const { return m_asDirsDone; }

  const std::string& Folder() const { return m_sFolder; }
  // Taken only when sNewValue names an existing folder; otherwise the previous folder stays.
  void SetFolder(const std::string& sNewValue);

  const std::string& Pattern() const { return m_sPattern; }
  // Blanks are removed and "," becomes ";".
  void SetPattern(const std::string& sNewValue);

  bool Recursive() const { return m_bRecursive; }
  void SetRecursive(bool bNewRecursive) { m_bRecursive = bNewRecursive; }

  // Walks Folder (or sStartFolder, when it names an existing folder) and raises Done at the end.
  void BeginSearch(const std::string& sStartFolder = "");

 private:
  void StoreVisited(int32_t lIndex, const std::string& sFolder);
  void DrillFolder(std::string sFolder);

  const FileSystem& m_fs;
  DirDrillEvents* m_pEvents = nullptr;

  bool m_bRecursive = true;
  double m_dblTotalKBytes = 0;
  int32_t m_lTotalFiles = 0;
  int32_t m_lTotalFolders = 0;
  int32_t m_lAttributeMask = 0;
  std::string m_sPattern = "*.*";
  std::string m_sFolder;
  std::vector<std::string> m_asDirsDone;
};

}  // namespace tarnwipe
