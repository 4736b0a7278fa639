// What the user reads of a run, and when the window breathes.
#include "window/window_reporter.h"

#include "engine/interval.h"
#include "engine/kept_reason.h"
#include "engine/renderings.h"
#include "paths/path_text.h"
#include "runs/old_copies.h"
#include "runs/run.h"
#include "walker/c_dir_drill.h"
#include "window/form_operations.h"
#include "window/layout.h"

namespace tarnwipe {
namespace {

constexpr int64_t kBlock = 1024;

}  // namespace

void WindowReporter::Stopping() { SetRunTitle(m_view, m_progress, kStopping); }

void WindowReporter::Say(std::string sMsg, bool bTimed, const std::string& sBelow) {
  if (bTimed) sMsg += TimedSuffix(GetInterval(m_sngFileStart, m_clock.TimeOfDay()), m_seps);
  m_view.PrependMessage(sBelow.empty() ? sMsg : sMsg + "\r\n" + sBelow);
}

void WindowReporter::FileStarted(const std::string& sName, int64_t lBytes, int64_t lInUse, int32_t lPasses) {
  m_sngFileStart = m_clock.TimeOfDay();
  if (++m_lFilesBegun <= kListedFiles) Say(ErasingLine(ShownName(sName), lBytes, lInUse, m_seps));
  if (m_lFilesBegun == kListedFiles + 1) {
    Say("More than " + FormatMask(kListedFiles, 0, m_seps) + " files: from here on only the files not erased are listed.");
  }
  m_progress.Start(lPasses);
}

void WindowReporter::Written(int64_t lBytes, int32_t iPass, double dblPassDone) {
  m_iDots = static_cast<int>((m_iDots + (lBytes + kBlock - 1) / kBlock) % kDotCycle);
  if (m_pump.Due()) {
    ShowDots();
    m_pump.PumpNow();
  }
  m_progress.Update(iPass, dblPassDone);
}

void WindowReporter::FileEnded(const FileOutcome& outcome) {
  m_progress.Finish();
  const bool bTold = !outcome.Erased() || outcome.bNameLeft;
  if (bTold && m_lFilesBegun > kListedFiles) Say(ErasingLine(ShownName(outcome.sName), outcome.lBytes, outcome.lInUse, m_seps));
  if (!outcome.Erased()) {
    Say("Could not erased file " + ShownName(outcome.sName), true, "  Reason: " + KeptReason(outcome));
  } else if (outcome.bNameLeft) {
    Say("  Its name may remain in its folder: it could not be renamed before it was removed.");
  }
  ShowDots();
  m_pump.Pump();
}

void WindowReporter::RunStarted(const std::string& sWhat, bool bWalk) {
  if (bWalk) {
    SetRunTitle(m_view, m_progress, kStopHint);
    m_view.ClearMessages();
  } else {
    m_progress.SetRunCaption(TitleText(""));
  }
  SetEraseCaption(m_view, "&Erasing " + sWhat, false);
  m_sngStart = m_clock.TimeOfDay();
  m_lFilesBegun = 0;
}

void WindowReporter::FolderEntered(const std::string& sFolder) {
  if (sFolder == m_sCurFolder) return;
  m_sCurFolder = sFolder;
  Say("Erasing files in " + ShownFolder(sFolder));
}

void WindowReporter::FolderUnreadable(const std::string& sFolder) { Say("Could not read map " + sFolder); }

void WindowReporter::FolderSkipped(const std::string& sFolder) { Say("Skipped other file system " + sFolder); }

void WindowReporter::ShowAs(const std::string& sStored, const std::string& sShown) {
  if (sStored.ends_with(paths::Separator())) {
    m_shownFolders.emplace_back(sStored, paths::WithSeparator(sShown));
  } else {
    m_shownNames[paths::LastName(sStored)] = sShown;
  }
}

std::string WindowReporter::ShownName(const std::string& sName) const {
  const auto shown = m_shownNames.find(sName);
  return shown == m_shownNames.end() ? sName : shown->second;
}

std::string WindowReporter::ShownFolder(const std::string& sFolder) const {
  for (const auto& [sStored, sShown] : m_shownFolders) {
    if (sFolder.starts_with(sStored)) return sShown + sFolder.substr(sStored.size());
  }
  return sFolder;
}

void WindowReporter::TrashSkipped(const std::string& sFolder, const std::string& sWhy) {
  Say("Skipped the Trash folder " + sFolder + ": " + sWhy);
}

void WindowReporter::LeftOver(const std::string& sFolder, int32_t lFiles, int32_t lFolders) {
  if (lFiles > 0) {
    Say("Left " + std::to_string(lFiles) + " matching file(s) in " + sFolder + ": one visit lists " +
        std::to_string(CDirDrill::kMaxFiles + 1) + " at most; erase again to continue");
  }
  if (lFolders > 0) {
    Say("Left " + std::to_string(lFolders) + " folder(s) in " + sFolder + " unvisited: one run takes " +
        std::to_string(CDirDrill::kMaxFolders) + " at most; erase again to continue");
  }
}

void WindowReporter::Blocked() { m_mErase.ShowNotice("Erasing files is blocked in path app!"); }

void WindowReporter::ItemMissing(const std::string& sPath) { Say("File or map not found: " + sPath); }

void WindowReporter::ItemRefused(Refusal eRefusal, const std::string& sPath) { Say(RefusalNotice(eRefusal) + " " + sPath); }

bool WindowReporter::RunSeconds(float& sngSeconds) {
  const float sngEnd = m_clock.TimeOfDay();
  sngSeconds = GetInterval(m_sngStart, sngEnd);
  return m_sngStart != 0.0F || sngEnd != 0.0F;
}

void WindowReporter::FileRunEnded(const FileOutcome& outcome, const std::string& sOldCopies) {
  if (float sngSeconds = 0; outcome.Erased() && RunSeconds(sngSeconds)) {
    const std::string sLine = outcome.bLink ? "Removed the link " + outcome.sName + "; nothing was overwritten."
                                            : SingleFileReport(outcome.lBytes, outcome.lInUse, sngSeconds, m_seps);
    ClearDots();
    m_pump.PumpNow();
    Say(sLine + OldCopiesWarning(sOldCopies) + "\r\n");
  }
  SetEraseCaption(m_view, "&Erase ...", false);
}

void WindowReporter::RunEnded(const RunTotals& totals, const std::vector<std::string>& asOldCopies) {
  if (float sngSeconds = 0; RunSeconds(sngSeconds)) {
    std::string sLine = FolderRunReport(totals.lFiles, totals.lFolders, totals.dblKBytes, totals.dblWrittenKBytes,
                                        sngSeconds, m_seps);
    if (totals.lNotRemoved != 0) sLine += "\r\n  unable to delete " + std::to_string(totals.lNotRemoved) + " folder(s)";
    if (totals.lUnread != 0) sLine += "\r\n  unable to read " + std::to_string(totals.lUnread) + " folder(s): what they hold is not erased";
    if (totals.lNamesLeft != 0) {
      sLine += "\r\n  names of " + std::to_string(totals.lNamesLeft) +
               " folder(s) may remain: they could not be renamed before they were removed";
    }
    // What was kept, and why: the user can act on each reason.
    if (const int32_t lKept = totals.Kept(); lKept != 0) {
      sLine += "\r\n  unable to erase " + std::to_string(lKept) + " file(s)";
      for (const auto& [sReason, lCount] : totals.keptReasons) sLine += "\r\n    " + std::to_string(lCount) + " x " + sReason;
    }
    for (const std::string& sFileSystem : asOldCopies) sLine += OldCopiesWarning(sFileSystem);
    Say(sLine + "\r\n");
  }
  EndRun();
}

void WindowReporter::FreeSpaceEnded(const FreeSpaceTotals& totals) {
  m_progress.Finish();
  std::string sLine;
  float sngSeconds = 0;
  if (totals.ec) {
    sLine = "Could not erase the free space of " + totals.sDisk + "\r\n  Reason: " + KeptReason(totals.ec) +
            "\r\n  what was deleted before may still lie in it";
  } else if (totals.bStopped) {
    sLine = "Stopped: the free space of " + totals.sDisk + " was not fully erased; the space is free again";
  } else if (RunSeconds(sngSeconds)) {
    sLine = "Erased free space of " + totals.sDisk + ": " +
            SingleFileReport(totals.lFilled, totals.lFilled, sngSeconds, m_seps).substr(std::string("Erased ").size());
    // What the file system kept back for the administrator or for itself, a few blocks aside.
    if (const int64_t lKeptBack = totals.lFree - totals.lFilled; lKeptBack > kKeptBackTolerance) {
      sLine += "\r\n  not reached: " + FileAmount(lKeptBack, m_seps).sText + " the file system keeps back";
    }
    if (totals.bKeepsUncounted) sLine += "\r\n  not reached: what the file system keeps back for its own records, uncounted";
    if (totals.lFolders + totals.lFoldersNotFilled > 0) {
      sLine += "\r\n  removed names overwritten in " + std::to_string(totals.lFolders) + " folder(s)";
    }
    if (totals.lFoldersNotFilled > 0) {
      sLine += "\r\n  unable to overwrite the removed names in " + std::to_string(totals.lFoldersNotFilled) + " folder(s)";
    }
    if (totals.lJournal > 0 && totals.lJournalTurned >= totals.lJournal) {
      sLine += "\r\n  journal turned over: " + FileAmount(totals.lJournal, m_seps).sText + " of new records logged over its older copies";
    } else if (totals.lJournal > 0) {
      sLine += "\r\n  not reached: older copies of records in the journal (" + FileAmount(totals.lJournal, m_seps).sText + ")";
    }
  }
  if (!totals.sOldCopies.empty()) sLine += OldCopiesWarning(totals.sOldCopies);
  if (!sLine.empty()) Say(sLine + "\r\n");
  EndRun();
}

void WindowReporter::EndRun() {
  SetEraseCaption(m_view, "&Erase ...", false);
  SetTitle(m_view, "");
  ClearDots();
  m_shownNames.clear();
  m_shownFolders.clear();
  m_pump.PumpNow();
}

void WindowReporter::ClearDots() {
  m_iDots = 0;
  m_view.SetProgressCaption("");
}

void WindowReporter::ShowDots() {
  m_view.SetProgressTop(layout::kProgressRunTop);
  m_view.SetProgressCaption(std::string(static_cast<size_t>(m_iDots), '.'));
}

}  // namespace tarnwipe
