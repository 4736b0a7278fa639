// The run over a map. A file is counted only when it was erased; a folder only when it was
// removed.
#include "runs/map_run.h"

#include <vector>

#include "paths/path_text.h"
#include "runs/old_copies.h"
#include "paths/disk_paths.h"

namespace tarnwipe {
namespace {
const char kMapNotFound[] = "Map not found!";
}  // namespace

MapRun::MapRun(RunParts parts, std::string sFolder, const std::set<std::string>* pasErasedOnTheirOwn)
    : m_parts(std::move(parts)),
      m_sFolder(std::move(sFolder)),
      m_pasErasedOnTheirOwn(pasErasedOnTheirOwn),
      dd(m_parts.fs, m_sFolder),
      m_bBlocked(m_parts.bBlocked) {
  dd.SetEvents(this);
}

std::string MapRun::Check() {
  if (const Refusal eRefusal = m_parts.protection.CheckTarget(m_sFolder); eRefusal != Refusal::kNone)
    return RefusalNotice(eRefusal);
  // A map that is gone must not leave the walk on another folder. From here on the walk reaches
  // nothing but what lies below the folder held now.
  if (!paths::IsFolder(m_parts.fs, m_sFolder)) return kMapNotFound;
  m_held.emplace(m_parts.fs, m_sFolder);
  if (!m_held->Held()) return kMapNotFound;
  if (const Refusal eRefusal = m_parts.protection.CheckHeld(true); eRefusal != Refusal::kNone)
    return RefusalNotice(eRefusal);
  m_sOldCopies = m_parts.fs.FileSystemKeepingCopies(m_sFolder);
  return {};
}

std::string MapRun::Question() const {
  const std::string sNote = m_sOldCopies.empty() ? "" : OldCopiesNote(m_sOldCopies) + "\r\n\r\n";
  return "Are You sure You want to erase " + paths::LastName(m_sFolder) + "?\r\n\r\n" + sNote + "(" + kStopHint + ")";
}

void MapRun::Execute() {
  m_parts.reporter.RunStarted("map " + paths::LastName(m_sFolder), true);
  Walk();
  m_held.reset();
  // The map's own name was freed in the folder above it, which stays.
  const std::string sAbove = paths::FolderPart(paths::WithoutSeparator(m_sFolder));
  if (!m_bBlocked && !paths::IsFolder(m_parts.fs, m_sFolder) && m_parts.protection.CheckTarget(sAbove) == Refusal::kNone)
    FillStayingFolder(m_parts.fs, m_removal, sAbove);
}

void MapRun::Summary() {
  // A run that met the program's own folder says nothing more.
  if (!m_bBlocked) m_parts.reporter.RunEnded(m_totals, {m_sOldCopies});
}

void MapRun::Walk() {
  dd.SetPattern(m_parts.sPattern);
  dd.SetAttributeMask(kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  dd.BeginSearch();
}

void MapRun::dd_NewFolder(const std::string& sFolderSpec, bool& bCancel) {
  if (m_parts.bStop) return;
  if (m_parts.protection.IsApplicationFolder(sFolderSpec)) {
    // What was begun before is finished; nothing more is begun.
    m_batch.Erase();
    m_bBlocked = true;
    m_parts.reporter.Blocked();
    return;
  }
  const FolderAccess eAccess = m_parts.fs.ProbeFolder(sFolderSpec);
  if (eAccess == FolderAccess::kOtherFileSystem) {
    // A mount inside the map is not the user's map: it is neither entered nor removed.
    m_parts.reporter.FolderSkipped(sFolderSpec);
    bCancel = true;
    return;
  }
  m_parts.reporter.FolderEntered(sFolderSpec);
  // A folder whose entries cannot be read keeps whatever it holds; say so rather than pass it by.
  if (eAccess == FolderAccess::kUnreadable) {
    m_parts.reporter.FolderUnreadable(sFolderSpec);
    ++m_totals.lUnread;
  }
  m_parts.reporter.Breathe();
  bCancel = m_parts.bStop;
}

void MapRun::dd_NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel) {
  lBytes = -1;
  if (m_bBlocked || m_parts.bStop) return;
  // Chosen on its own as well, and already erased or reported on its turn.
  if (m_pasErasedOnTheirOwn != nullptr && m_pasErasedOnTheirOwn->contains(m_parts.fs.CanonicalPath(sFileSpec))) return;
  m_batch.Add(sFileSpec);
  bCancel = m_parts.bStop;
}

void MapRun::LeftOver(const std::string& sFolderSpec, int32_t lFiles, int32_t lFolders) {
  if (m_bBlocked) return;
  // The limits keep one run bounded; what they leave must not pass in silence.
  m_parts.reporter.LeftOver(sFolderSpec, lFiles, lFolders);
  m_totals.AddLeft(lFiles);
}

void MapRun::dd_Done(int32_t, int32_t lNrTotalFolders, double) {
  m_batch.Erase();
  if (m_bBlocked) return;
  // Every folder is listed after the folder it lies in: from the last back, each comes before
  // its parent, and one pass removes all that can go.
  const std::vector<std::string> asDirs = dd.DirsDone();
  for (auto it = asDirs.rbegin(); it != asDirs.rend(); ++it) {
    if (!it->empty()) RemoveFolder(*it);
  }
  if (paths::IsRoot(m_sFolder)) {
    --lNrTotalFolders;  // a root is never removed
  } else {
    RemoveFolder(m_sFolder);
  }
  m_totals.lFolders += lNrTotalFolders - m_totals.lNotRemoved;
}

void MapRun::RemoveFolder(const std::string& sFolder) {
  bool bNameLeft = false;
  if (m_removal.RemoveFolder(m_parts.fs, sFolder, bNameLeft)) {
    ++m_totals.lNotRemoved;
  } else {
    m_totals.lNamesLeft += bNameLeft;
  }
}

}  // namespace tarnwipe
