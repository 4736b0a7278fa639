// The run over one file. Its folder is held from the check to the end of the erase.
#include "runs/file_run.h"

#include <algorithm>

#include "engine/eraser.h"
#include "runs/old_copies.h"
#include "paths/disk_paths.h"

namespace tarnwipe {
namespace {

const char kNowAMap[] = "The chosen file is a map now; select it again!";

// A link chosen as the file: only the link goes, and the user is told so before and after.
std::string LinkNote(const std::string& sName) {
  return sName + " is a link: only the link will be removed; what it points to is not overwritten.";
}

}  // namespace

std::string FileRun::Check() {
  FileSystem& fs = m_parts.fs;
  if (const Refusal eRefusal = m_parts.protection.CheckTarget(m_sTarget); eRefusal != Refusal::kNone)
    return RefusalNotice(eRefusal);
  // A file that became a folder since it was chosen is no file to erase, and has no name to ask about.
  if (paths::IsFolder(fs, m_sTarget)) return kNowAMap;
  m_held.emplace(fs, paths::ExtractPath(fs, m_sTarget));
  if (const Refusal eRefusal = m_held->Held() ? m_parts.protection.CheckHeld(false) : Refusal::kNone;
      eRefusal != Refusal::kNone)
    return RefusalNotice(eRefusal);
  m_sName = paths::ExtractName(fs, m_sTarget);
  const int32_t lAttributes = fs.GetAttributes(m_sTarget);
  m_bLink = lAttributes != -1 && (lAttributes & kAttrLink) != 0;
  // The file's own attributes count (an NTFS file may be compressed in a plain folder).
  m_sOldCopies = m_bLink ? "" : fs.FileSystemKeepingCopies(m_sTarget);
  return {};
}

std::string FileRun::Question() const {
  const std::string sNote = m_bLink ? "\r\n\r\n" + LinkNote(m_sName)
                            : m_sOldCopies.empty() ? "" : "\r\n\r\n" + OldCopiesNote(m_sOldCopies);
  return "Are You sure You want to erase " + m_sName + "?" + sNote;
}

void FileRun::Execute() {
  m_parts.reporter.RunStarted("file " + m_sName, false);
  const int64_t lBytes = std::max<int64_t>(0, m_parts.fs.FileLength(m_sTarget));
  NameRemoval removal;
  Eraser eraser(m_parts.fs, m_parts.reporter, removal);
  m_outcome = eraser.EraseFile(m_sTarget, m_parts.lPasses, lBytes, m_bLink);
  // The folder stays: what its entry area still holds of the file's name is overwritten.
  if (m_outcome.Erased() && m_held->Held()) removal.FillFolder(m_parts.fs, paths::ExtractPath(m_parts.fs, m_sTarget));
  m_held.reset();
}

void FileRun::Summary() { m_parts.reporter.FileRunEnded(m_outcome, m_sOldCopies); }

}  // namespace tarnwipe
