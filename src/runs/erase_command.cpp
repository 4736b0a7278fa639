// The erase command. While a run is in progress no target can change and no second run start.
#include "runs/erase_command.h"

#include <algorithm>
#include <charconv>

#include "engine/interval.h"
#include "engine/renderings.h"
#include "runs/confinement.h"
#include "runs/form_operations.h"
#include "runs/old_copies.h"
#include "runs/protection.h"
#include "walker/path_helpers.h"

namespace tarnwipe {
namespace {
const char kMapNotFound[] = "Map not found!";
const char kNowAMap[] = "The chosen file is a map now; select it again!";

// A link chosen as the file: only the link goes, and the user is told so before and after.
std::string LinkNote(const std::string& sName) {
  return sName + " is a link: only the link will be removed; what it points to is not overwritten.";
}
std::string LinkRemovedLine(const std::string& sName) {
  return "Removed the link " + sName + "; nothing was overwritten.";
}

// The pass count from its text box: digits only, otherwise -1, for which nothing is erased.
int32_t ParsePassCount(const std::string& sText) {
  int32_t lCount = -1;
  const auto result = std::from_chars(sText.data(), sText.data() + sText.size(), lCount);
  const bool bNumber = !sText.empty() && result.ec == std::errc() && result.ptr == sText.data() + sText.size();
  return bNumber && lCount >= 0 ? lCount : -1;
}

}  // namespace

std::string EraseCommand::CheckInput() const {
  const RunRecord& r = m_s.record;
  if (m_s.view.TimesText().empty()) return "Number of times not set!";
  if (!r.several.empty()) return {};  // each item is checked by the run itself
  if (r.sTarget.empty()) return r.bMap ? "No folder selected!" : "No file selected!";
  const Refusal eRefusal = m_s.protection.CheckTarget(r.sTarget);
  if (eRefusal != Refusal::kNone) return RefusalNotice(eRefusal);
  // A map that is gone must not leave the walker on the folder it walked before; a file that
  // became a folder since it was chosen is no file to erase, and has no name to ask about.
  if (r.bMap && !paths::IsFolder(m_s.fs, r.sTarget)) return kMapNotFound;
  if (!r.bMap && paths::IsFolder(m_s.fs, r.sTarget)) return kNowAMap;
  return {};
}

void EraseCommand::btnErase_Click() {
  RunRecord& r = m_s.record;
  if (r.bRunning) return;
  const std::string sNotice = CheckInput();
  if (!sNotice.empty()) {
    m_s.mErase.ShowNotice(sNotice);
    return;
  }

  m_s.view.SetBusyPointer(true);
  r.bStop = false;
  r.bRunning = true;
  r.lPasses = ParsePassCount(m_s.view.TimesText());
  r.dblHoleKBytes = 0;
  r.keptReasons.clear();
  m_s.view.SetSelectEnabled(false);
  m_s.view.SetEraseEnabled(false);
  if (!r.several.empty()) {
    m_several.Run();
  } else if (r.bMap) {
    RunMap();
  } else {
    RunFile();
  }

  m_s.view.SetEraseEnabled(false);
  SetTitle(m_s.view, "");
  m_s.view.SetBusyPointer(false);
  r.bRunning = false;
  m_s.view.SetSelectEnabled(true);
}

void EraseCommand::RunMap() {
  RunRecord& r = m_s.record;
  const std::string sFolder = m_s.dd.ExtractPath(r.sTarget);
  m_s.dd.SetFolder(sFolder);
  // From here on the walk reaches nothing but what lies below the folder held now. A map gone
  // since it was checked is never walked, nor is another folder in its place.
  const Confinement held(m_s.fs, sFolder);
  if (m_s.dd.Folder() != sFolder || !held.Held()) {
    m_s.mErase.ShowNotice(kMapNotFound);
    return;
  }
  if (const Refusal eRefusal = m_s.protection.CheckHeld(true); eRefusal != Refusal::kNone) {
    m_s.mErase.ShowNotice(RefusalNotice(eRefusal));
    return;
  }
  r.sRootFolder = m_s.dd.Folder();
  m_s.dd.SetPattern(m_s.view.SpecText());
  const std::string sName = m_s.dd.ExtractFolder(m_s.dd.Folder());
  r.sOldCopies = m_s.fs.FileSystemKeepingCopies(sFolder);
  const std::string sNote = r.sOldCopies.empty() ? "" : OldCopiesNote(r.sOldCopies) + "\r\n\r\n";
  const std::string sQuestion = "Are You sure You want to erase " + sName + "?\r\n\r\n" + sNote;
  if (m_s.mErase.AskConfirm(sQuestion + "(" + kStopHint + ")") != kAnswerYes) return;

  SetRunTitle(m_s.view, m_s.eraser.Progress(), kStopHint);
  m_s.dd.SetAttributeMask(kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
  m_s.view.ClearMessages();
  SetEraseCaption(m_s.view, "&Erasing map " + sName, false);
  r.sngStart = m_s.clock.TimeOfDay();
  m_s.dd.BeginSearch();
}

void EraseCommand::RunFile() {
  RunRecord& r = m_s.record;
  r.sRootFolder.clear();
  const std::string sName = m_s.dd.ExtractName(r.sTarget);
  const std::string sFolder = m_s.dd.ExtractPath(r.sTarget);
  // The file is reached through its folder, held from before the question to the end of the
  // erase, so that what the question names is what is erased. When the folder is gone the
  // engine reports the file as not erased.
  const Confinement held(m_s.fs, sFolder);
  if (const Refusal eRefusal = held.Held() ? m_s.protection.CheckHeld(false) : Refusal::kNone; eRefusal != Refusal::kNone) {
    m_s.mErase.ShowNotice(RefusalNotice(eRefusal));
    return;
  }
  const int32_t lAttributes = m_s.fs.GetAttributes(r.sTarget);
  const bool bLink = lAttributes != -1 && (lAttributes & kAttrLink) != 0;
  // The file's own attributes count (an NTFS file may be compressed in a plain folder).
  r.sOldCopies = bLink ? "" : m_s.fs.FileSystemKeepingCopies(r.sTarget);
  const std::string sNote = bLink ? "\r\n\r\n" + LinkNote(sName)
                                  : r.sOldCopies.empty() ? "" : "\r\n\r\n" + OldCopiesNote(r.sOldCopies);
  if (m_s.mErase.AskConfirm("Are You sure You want to erase " + sName + "?" + sNote) != kAnswerYes) return;

  SetEraseCaption(m_s.view, "&Erasing file " + sName, false);
  m_s.eraser.Progress().SetRunCaption(TitleText(""));
  // A file that vanished since it was chosen gets the engine's failure line.
  int64_t lBytes = std::max<int64_t>(0, m_s.fs.FileLength(r.sTarget));
  r.sngStart = m_s.clock.TimeOfDay();
  m_s.eraser.EraseFile(r.sTarget, r.lPasses, lBytes, bLink);
  r.sTarget.clear();
  r.sngEnd = m_s.clock.TimeOfDay();
  if (lBytes >= 0 && (r.sngStart != 0.0F || r.sngEnd != 0.0F)) {
    const std::string sLine =
        bLink ? LinkRemovedLine(sName) : SingleFileReport(lBytes, m_s.eraser.LastInUse(), GetInterval(r.sngStart, r.sngEnd), m_s.seps);
    m_s.eraser.ClearProgress();
    m_s.pump.PumpNow();
    m_s.eraser.ReportElapsed(sLine + OldCopiesWarning(r.sOldCopies) + "\r\n", false);
  }
  SetEraseCaption(m_s.view, "&Erase ...", false);
}

}  // namespace tarnwipe
