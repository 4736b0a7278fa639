// The walk: depth first, both listings of a folder complete before its first NewFile.
#include "walker/c_dir_drill.h"

#include <algorithm>
#include <set>

#include "paths/disk_paths.h"
#include "walker/wildcard.h"

namespace tarnwipe {
namespace {

// The elements of a pattern list, in their order. An empty element (a trailing, leading or
// doubled separator) is dropped: it would match every name and widen a slip of the keyboard to
// the whole map. A list with no element left chooses no file.
std::vector<std::string> SplitPattern(const std::string& sPattern) {
  std::vector<std::string> asElements;
  for (size_t lStart = 0; lStart <= sPattern.size();) {
    const size_t p = std::min(sPattern.find(';', lStart), sPattern.size());
    if (p > lStart) asElements.push_back(sPattern.substr(lStart, p - lStart));
    lStart = p + 1;
  }
  return asElements;
}

// An entry whose attributes could not be read is never taken for a folder.
bool IsFolderEntry(const FolderEntry& entry) {
  return entry.lAttributes != -1 && (entry.lAttributes & kAttrDirectory) != 0;
}

}  // namespace

CDirDrill::CDirDrill(const FileSystem& fs, std::string sInitialFolder)
    : m_fs(fs), m_sFolder(std::move(sInitialFolder)), m_asDirsDone(kGrowth + 1) {}

void CDirDrill::SetFolder(const std::string& sNewValue) {
  if (paths::IsFolder(m_fs, sNewValue)) m_sFolder = sNewValue;
}

void CDirDrill::SetPattern(const std::string& sNewValue) {
  std::string sPattern;
  for (const char c : sNewValue) {
    if (c == ' ') continue;
    sPattern += (c == ',') ? ';' : c;
  }
  m_sPattern = sPattern;
}

void CDirDrill::BeginSearch(const std::string& sStartFolder) {
  if (!sStartFolder.empty()) SetFolder(sStartFolder);
  m_lTotalFiles = 0;
  m_lTotalFolders = 1;
  m_dblTotalKBytes = 0;
  m_asDirsDone.assign(kGrowth + 1, std::string());
  DrillFolder(m_sFolder);
  if (m_pEvents != nullptr) m_pEvents->Done(m_lTotalFiles, m_lTotalFolders, m_dblTotalKBytes);
}

void CDirDrill::StoreVisited(int32_t lIndex, const std::string& sFolder) {
  while (lIndex > static_cast<int32_t>(m_asDirsDone.size()) - 1) m_asDirsDone.resize(m_asDirsDone.size() + kGrowth);
  m_asDirsDone[static_cast<size_t>(lIndex)] = sFolder;
}

void CDirDrill::DrillFolder(std::string sFolder) {
  sFolder = paths::QualifyFolder(m_fs, sFolder);
  bool bCancel = false;
  if (m_pEvents != nullptr) m_pEvents->NewFolder(sFolder, bCancel);
  if (bCancel) return;

  // Both listings are complete before the first event, so handlers may change the folder freely.
  std::vector<std::string> asFolders;
  std::vector<std::string> asFiles;
  int32_t lFilesLeft = 0, lFoldersLeft = 0;
  {
    // The walk goes in name order, whatever order the file system lists in.
    std::vector<FolderEntry> entries = m_fs.ListFolder(sFolder);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.sName < b.sName; });

    // Subfolders: every folder, hidden, system and dot folders too, for the files in them are
    // the user's as much as any other; links to folders are never entered.
    for (const FolderEntry& entry : entries) {
      if (!IsFolderEntry(entry) || entry.sName == "." || entry.sName == "..") continue;
      if (m_lTotalFolders + static_cast<int32_t>(asFolders.size()) > kMaxFolders) {
        ++lFoldersLeft;
        continue;
      }
      const std::string sPath = sFolder + entry.sName;
      StoreVisited(m_lTotalFolders + static_cast<int32_t>(asFolders.size()), sPath);
      asFolders.push_back(sPath);
    }

    // Files in the order of the pattern elements that take them, each once, up to the cap of
    // one visit; what the cap leaves is counted. An entry whose attributes could not be read (in
    // a folder that may be listed but not searched) is taken too: its erase fails and says why,
    // where passing it over would leave it unsaid.
    std::set<std::string> taken;
    for (const std::string& sElement : SplitPattern(m_sPattern)) {
      for (const FolderEntry& entry : entries) {
        const bool bMasked = entry.lAttributes != -1 && (!PassesListingMask(entry.lAttributes, m_lAttributeMask) ||
                                                         (entry.lAttributes & m_lAttributeMask) == 0);
        if (!MatchesWildcard(entry.sName, sElement) || bMasked || IsFolderEntry(entry) || !taken.insert(entry.sName).second)
          continue;
        if (static_cast<int32_t>(asFiles.size()) > kMaxFiles) {
          ++lFilesLeft;
        } else {
          asFiles.push_back(sFolder + entry.sName);
        }
      }
    }
  }
  if ((lFilesLeft > 0 || lFoldersLeft > 0) && m_pEvents != nullptr) m_pEvents->LeftOver(sFolder, lFilesLeft, lFoldersLeft);

  int64_t lBytes = 0;
  int32_t lDeclined = 0;
  for (const std::string& sFile : asFiles) {
    if (m_pEvents != nullptr) m_pEvents->NewFile(sFile, lBytes, bCancel);
    if (lBytes < 0) {
      ++lDeclined;
    } else {
      m_dblTotalKBytes += static_cast<double>(lBytes) / 1024.0;
    }
  }
  m_lTotalFiles += static_cast<int32_t>(asFiles.size()) - lDeclined;
  m_lTotalFolders += static_cast<int32_t>(asFolders.size());

  if (!m_bRecursive) return;
  for (const std::string& sSub : asFolders) DrillFolder(sSub);
}

}  // namespace tarnwipe
