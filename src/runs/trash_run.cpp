// Where the Trash lies, as freedesktop.org desktops lay it out on Linux and as Windows lays out
// its Recycle Bin, and its run.
#include "runs/trash_run.h"

#include <algorithm>

#include "engine/renderings.h"
#include "paths/disk_paths.h"
#include "paths/path_text.h"
#include "runs/trash_record.h"

namespace tarnwipe {
namespace {

constexpr char kTrashInfo[] = ".trashinfo";
constexpr int kSizeLevels = 64;

std::string Counted(size_t lCount, const std::string& sWhat) {
  return std::to_string(lCount) + " " + sWhat + (lCount == 1 ? "" : "s");
}

}  // namespace

TrashRun::TrashRun(RunParts parts) : m_parts(std::move(parts)), m_facts(m_parts.folders.Trash()) {
  m_parts.sPattern = "*";  // a trashed folder goes whole, hidden files included
}

std::string TrashRun::TrashName(const TrashFacts& facts) { return facts.bRecycleBin ? "the Recycle Bin" : "the Trash"; }

std::vector<std::pair<std::string, std::string>> TrashRun::Candidates() {
  const std::string sSep(1, paths::Separator());
  std::vector<std::pair<std::string, std::string>> asCandidates;
  if (!m_facts.bRecycleBin && !m_facts.sHomeTrash.empty()) asCandidates.emplace_back(m_facts.sHomeTrash, "");
  for (const std::string& sTop : m_facts.asTops) {
    if (m_facts.bRecycleBin) {
      asCandidates.emplace_back(sTop + "$Recycle.Bin" + sSep + m_facts.sUser + sSep, sTop);
      NoteOtherUsers(sTop + "$Recycle.Bin" + sSep);
      continue;
    }
    // The Trash shared by all users of a disk counts only where it is safe: a folder of its own
    // with the sticky bit, so that nobody can swap another user's folder.
    const std::string sShared = sTop + ".Trash";
    if (m_parts.fs.GetAttributes(sShared) != -1) {
      if (m_parts.folders.IsTrashFolder(sShared, false)) {
        asCandidates.emplace_back(sShared + sSep + m_facts.sUser + sSep, sTop);
        NoteOtherUsers(sShared + sSep);
      } else {
        m_skipped.emplace_back(paths::WithSeparator(sShared), "it is no folder with the sticky bit");
      }
    }
    asCandidates.emplace_back(sTop + ".Trash-" + m_facts.sUser + sSep, sTop);
  }
  std::vector<std::pair<std::string, std::string>> asUnique;
  for (const auto& sCandidate : asCandidates) {
    if (std::find(asUnique.begin(), asUnique.end(), sCandidate) == asUnique.end()) asUnique.push_back(sCandidate);
  }
  return asUnique;
}

void TrashRun::NoteOtherUsers(const std::string& sShared) {
  for (const FolderEntry& entry : m_parts.fs.ListFolder(sShared)) {
    if ((entry.lAttributes & kAttrDirectory) != 0 && entry.sName != m_facts.sUser)
      m_skipped.emplace_back(paths::WithSeparator(sShared + entry.sName), "it is another user's");
  }
}

std::string TrashRun::Check() {
  for (const auto& [sFolder, sTop] : Candidates()) {
    if (m_parts.fs.GetAttributes(sFolder) == -1) continue;
    if (!m_parts.folders.IsTrashFolder(sFolder, true)) {
      m_skipped.emplace_back(sFolder, "it is no folder of yours");
    } else if (const Refusal eRefusal = m_parts.protection.CheckTarget(sFolder); eRefusal != Refusal::kNone) {
      m_skipped.emplace_back(sFolder, RefusalNotice(eRefusal));
    } else if (Collect(sFolder, sTop)) {
      ++m_iDisks;
    }
  }
  if (m_items.empty()) return m_facts.bRecycleBin ? "The Recycle Bin is empty." : "The Trash is empty.";
  m_pItems = std::make_unique<SeveralRun>(m_parts, m_items);
  return m_pItems->Check();
}

bool TrashRun::Collect(const std::string& sFolder, const std::string& sTop) {
  const size_t lBefore = m_items.size();
  if (m_facts.bRecycleBin) {
    // $R... is the item, $I... the record of its name and where it was.
    for (const FolderEntry& entry : m_parts.fs.ListFolder(sFolder)) {
      if (!entry.sName.starts_with("$R") && !entry.sName.starts_with("$I")) continue;
      AddItem(sFolder, entry, entry.sName[1] == 'R');
      if (entry.sName[1] == 'I') {
        AddOrigin(sFolder + entry.sName, sFolder + "$R" + entry.sName.substr(2),
                  RecycleRecordPath(m_parts.fs.ReadStart(sFolder + entry.sName, kRecordBytes)));
      }
    }
    if (m_items.size() > lBefore) m_asFolders.push_back(sFolder);
    return m_items.size() > lBefore;
  }
  // GNOME moves what it empties from the Trash into expunged/ before deleting it; what a logout or
  // a failed deletion left there is trashed content no desktop shows any more.
  const std::string sFiles = sFolder + "files" + paths::Separator(), sInfo = sFolder + "info" + paths::Separator();
  for (const std::string& sPart : {sFiles, sInfo, sFolder + "expunged" + paths::Separator()}) {
    if (m_parts.fs.GetAttributes(sPart) == -1) continue;
    if (!m_parts.folders.IsTrashFolder(sPart, true)) {
      m_skipped.emplace_back(sPart, "it is no folder of yours");
      continue;
    }
    const bool bItems = sPart != sInfo;
    for (const FolderEntry& entry : m_parts.fs.ListFolder(sPart)) {
      if (!bItems && !entry.sName.ends_with(kTrashInfo)) continue;
      AddItem(sPart, entry, bItems);
      if (bItems) continue;
      const std::string sItem = sFiles + entry.sName.substr(0, entry.sName.size() - std::string(kTrashInfo).size());
      AddOrigin(sPart + entry.sName, sItem, TrashInfoPath(m_parts.fs.ReadStart(sPart + entry.sName, kRecordBytes), sTop));
    }
    m_asFolders.push_back(sPart);
  }
  // The cache of the trashed folders' sizes names them too; the desktop makes it again.
  const std::string sSizes = sFolder + "directorysizes";
  if (const int32_t lAttributes = m_parts.fs.GetAttributes(sSizes); lAttributes != -1 && (lAttributes & (kAttrDirectory | kAttrLink)) == 0)
    m_items.push_back({sSizes, TargetKind::kFile});
  return m_items.size() > lBefore;
}

void TrashRun::AddItem(const std::string& sFolder, const FolderEntry& entry, bool bCounted) {
  const std::string sPath = sFolder + entry.sName;
  const bool bMap = IsFolderItself(entry.lAttributes);
  m_items.push_back({bMap ? paths::WithSeparator(sPath) : sPath, bMap ? TargetKind::kMap : TargetKind::kFile});
  if (!bCounted) return;
  ++m_lTrashed;
  if (bMap) {
    m_lBytes += MapBytes(paths::WithSeparator(sPath), kSizeLevels);
  } else if ((entry.lAttributes & kAttrLink) == 0) {
    m_lBytes += std::max<int64_t>(m_parts.fs.FileLength(sPath), 0);
  }
}

void TrashRun::AddOrigin(const std::string& sRecord, const std::string& sItem, const std::string& sOrigin) {
  if (sOrigin.empty()) return;
  m_shown.emplace_back(paths::IsFolder(m_parts.fs, sItem) ? paths::WithSeparator(sItem) : sItem, sOrigin);
  m_shown.emplace_back(sRecord, "the record of " + sOrigin);
  const std::string sFolder = paths::FolderPart(sOrigin);
  if (!sFolder.empty() && std::find(m_asOrigins.begin(), m_asOrigins.end(), sFolder) == m_asOrigins.end())
    m_asOrigins.push_back(sFolder);
}

int64_t TrashRun::MapBytes(const std::string& sMap, int iLevels) const {
  int64_t lBytes = 0;
  for (const FolderEntry& entry : m_parts.fs.ListFolder(sMap)) {
    const bool bFolder = IsFolderItself(entry.lAttributes);
    if (bFolder && iLevels > 0) {
      lBytes += MapBytes(paths::WithSeparator(sMap + entry.sName), iLevels - 1);
    } else if (!bFolder) {
      lBytes += std::max<int64_t>(m_parts.fs.FileLength(sMap + entry.sName), 0);
    }
  }
  return lBytes;
}

std::string TrashRun::Question() const {
  return "Erase the " + Counted(m_lTrashed, "item") + " in " + TrashName(m_facts) + " (" +
         FileAmount(m_lBytes, m_parts.seps).sText + " on " + Counted(static_cast<size_t>(m_iDisks), "disk") +
         ")? They cannot be brought back.\r\n\r\n(" + kStopHint + ")";
}

void TrashRun::Execute() {
  for (const auto& [sStored, sShown] : m_shown) m_parts.reporter.ShowAs(sStored, sShown);
  m_pItems->Execute();
  for (const auto& [sFolder, sWhy] : m_skipped) m_parts.reporter.TrashSkipped(sFolder, sWhy);
  for (const std::string& sFolder : m_asFolders) m_parts.folders.TrashChanged(sFolder);
  // Moving an item to the Trash freed its entry where it was, with its name: those folders that
  // are still there and not protected get that overwritten too.
  for (const std::string& sFolder : m_asOrigins) {
    if (paths::IsFolder(m_parts.fs, sFolder) && m_parts.protection.CheckTarget(sFolder) == Refusal::kNone)
      m_pItems->FillStayingFolder(sFolder);
  }
}

void TrashRun::Summary() { m_pItems->Summary(); }

}  // namespace tarnwipe
