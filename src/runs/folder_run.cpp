// The folder run. A file is counted only when it was erased; a folder is counted only when it
// was removed.
#include "runs/folder_run.h"

#include <vector>

#include "engine/interval.h"
#include "engine/renderings.h"
#include "platform/paths.h"
#include "runs/form_operations.h"
#include "runs/old_copies.h"

namespace tarnwipe {

void FolderRun::dd_NewFolder(const std::string& sFolderSpec, bool& bCancel) {
  RunRecord& r = m_s.record;
  if (r.bFinishing || r.bStop) return;
  if (m_s.protection.IsApplicationFolder(sFolderSpec)) {
    r.bBlocked = true;
    m_s.mErase.ShowNotice("Erasing files is blocked in path app!");
    return;
  }
  const FolderAccess eAccess = m_s.fs.ProbeFolder(sFolderSpec);
  if (eAccess == FolderAccess::kOtherFileSystem) {
    // A mount inside the map is not the user's map: it is neither entered nor removed.
    m_s.eraser.ReportElapsed("Skipped other file system " + sFolderSpec, false);
    bCancel = true;
    return;
  }
  if (sFolderSpec != r.sCurFolder) {
    r.sCurFolder = sFolderSpec;
    m_s.eraser.ReportElapsed("Erasing files in " + sFolderSpec, false);
  }
  // A folder whose entries cannot be read keeps whatever it holds; say so rather than pass it by.
  if (eAccess == FolderAccess::kUnreadable) m_s.eraser.ReportElapsed("Could not read map " + sFolderSpec, false);
  m_s.pump.Pump();
  bCancel = r.bStop;
}

void FolderRun::dd_NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel) {
  RunRecord& r = m_s.record;
  if (r.bBlocked || r.bStop) {
    lBytes = -1;
    return;
  }
  if (!r.asErasedOnTheirOwn.empty() && r.asErasedOnTheirOwn.contains(m_s.fs.CanonicalPath(sFileSpec))) {
    lBytes = -1;  // chosen on its own as well, and already erased or reported on its turn
    return;
  }
  lBytes = m_s.fs.FileLength(sFileSpec);
  if (lBytes < 0) return;  // gone since the listing: nothing left to erase
  m_s.pump.Pump();
  bCancel = r.bStop;
  m_s.eraser.EraseFile(sFileSpec, r.lPasses, lBytes);
  r.sTarget.clear();
  NoteOutcome(lBytes);
}

void FolderRun::LeftOver(const std::string& sFolderSpec, int32_t lFiles, int32_t lFolders) {
  RunRecord& r = m_s.record;
  if (r.bBlocked || r.bFinishing) return;
  // The limits keep one run bounded; what they leave must not pass in silence.
  if (lFiles > 0) {
    m_s.eraser.ReportElapsed("Left " + std::to_string(lFiles) + " matching file(s) in " + sFolderSpec + ": one visit lists " +
                                 std::to_string(CDirDrill::kMaxFiles + 1) + " at most; erase again to continue", false);
    r.keptReasons["left by the listing's limit; erase again to continue"] += lFiles;
  }
  if (lFolders > 0) {
    m_s.eraser.ReportElapsed("Left " + std::to_string(lFolders) + " folder(s) in " + sFolderSpec + " unvisited: one run takes " +
                                 std::to_string(CDirDrill::kMaxFolders) + " at most; erase again to continue", false);
  }
}

void FolderRun::NoteOutcome(int64_t lBytes) {
  RunRecord& r = m_s.record;
  if (lBytes < 0) {
    ++r.keptReasons[m_s.eraser.LastReason()];
  } else {
    r.dblHoleKBytes += static_cast<double>(lBytes - m_s.eraser.LastInUse()) / 1024.0;
  }
}

int32_t FolderRun::RemoveVisitedFolders() {
  RunRecord& r = m_s.record;
  std::vector<std::string> asDirs = m_s.dd.DirsDone();
  size_t lTop = asDirs.size() - 1;
  while (lTop > 0 && asDirs[lTop].empty()) --lTop;
  if (lTop == 0) lTop = asDirs.size() - 1;

  int32_t lPrevious = 0;
  int32_t lNamesLeft = 0;
  for (;;) {
    if (lPrevious != 0) r.lNotRemoved = 0;
    for (size_t i = 0; i <= lTop; ++i) {
      if (asDirs[i].empty()) continue;
      if (m_s.fs.RemoveFolder(asDirs[i])) {
        ++r.lNotRemoved;
      } else {
        asDirs[i].clear();
        lNamesLeft += m_s.fs.FolderNameLeft();
      }
    }
    if (r.lNotRemoved == 0 || r.lNotRemoved == lPrevious) return lNamesLeft;
    lPrevious = r.lNotRemoved;
  }
}

void FolderRun::dd_Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) {
  RunRecord& r = m_s.record;
  if (r.bFinishing || r.bBlocked) return;
  r.bFinishing = true;

  int32_t lNamesLeft = RemoveVisitedFolders();
  if (paths::IsRoot(r.sRootFolder)) {
    --lNrTotalFolders;  // a root is never removed
  } else if (m_s.fs.RemoveFolder(r.sRootFolder)) {
    ++r.lNotRemoved;
  } else {
    lNamesLeft += m_s.fs.FolderNameLeft();
  }
  const RunRecord::Totals totals{lNrTotalFiles, lNrTotalFolders, r.lNotRemoved, dblTotalKBytes, lNamesLeft};
  if (r.bSeveral) {
    // One map of several: its counts go into the run's one closing line.
    r.totals += totals;
    r.bFinishing = false;
    return;
  }
  Finish(totals, {r.sOldCopies});
}

void FolderRun::Finish(const RunRecord::Totals& totals, const std::vector<std::string>& asOldCopies) {
  RunRecord& r = m_s.record;
  r.sngEnd = m_s.clock.TimeOfDay();
  if (r.sngStart != 0.0F || r.sngEnd != 0.0F) {
    std::string sLine = FolderRunReport(totals.lFiles, totals.lFolders - totals.lNotRemoved, totals.dblKBytes,
                                        totals.dblKBytes - r.dblHoleKBytes, GetInterval(r.sngStart, r.sngEnd), m_s.seps);
    if (totals.lNotRemoved != 0) sLine += "\r\n  unable to delete " + std::to_string(totals.lNotRemoved) + " folder(s)";
    if (totals.lNamesLeft != 0) {
      sLine += "\r\n  names of " + std::to_string(totals.lNamesLeft) +
               " folder(s) may remain: they could not be renamed before they were removed";
    }
    // What was kept, and why: the user can act on each reason.
    int32_t lKept = 0;
    std::string sReasons;
    for (const auto& [sReason, lCount] : r.keptReasons) {
      lKept += lCount;
      sReasons += "\r\n    " + std::to_string(lCount) + " x " + sReason;
    }
    if (lKept != 0) sLine += "\r\n  unable to erase " + std::to_string(lKept) + " file(s)" + sReasons;
    for (const std::string& sFileSystem : asOldCopies) sLine += OldCopiesWarning(sFileSystem);
    m_s.eraser.ReportElapsed(sLine + "\r\n", false);
  }

  r.bFinishing = false;
  SetEraseCaption(m_s.view, "&Erase ...", false);
  SetTitle(m_s.view, "");
  m_s.eraser.ClearProgress();
  m_s.pump.PumpNow();
}

}  // namespace tarnwipe
