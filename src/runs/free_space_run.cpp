// The free-space run. The fillers live in a work folder of the run's own, at the disk's top or
// inside the chosen folder; they go the moment the run ends or is stopped.
#include "runs/free_space_run.h"

#include <algorithm>

#include "engine/renderings.h"
#include "paths/disk_paths.h"
#include "paths/path_text.h"
#include "runs/confinement.h"

namespace tarnwipe {
namespace {

constexpr int kNameLevels = 256;

// A file system that finds only while placing a filler that it cannot hold all the filler took
// (XFS near full, without its reserve) reports the disk full and frees the rest: no failure of
// the fill, which goes on into what came free. *pShort, where given, tells so.
std::error_code UnlessShort(std::error_code ec, bool* pShort = nullptr) {
  if (ec != std::errc::no_space_on_device) return ec;
  if (pShort != nullptr) *pShort = true;
  return {};
}

}  // namespace

FreeSpaceRun::FreeSpaceRun(RunParts parts, std::string sFolder)
    : m_parts(std::move(parts)), m_sFolder(paths::AsFolder(std::move(sFolder))) {}

std::string FreeSpaceRun::Check() {
  if (!paths::IsFolder(m_parts.fs, m_sFolder)) return "Map not found!";
  if (m_parts.fs.SpaceOf(m_sFolder, m_space)) return "The free space of this disk cannot be told: " + m_sFolder;
  m_totals.sDisk = m_space.sTop;
  m_totals.lFree = m_space.lFree;
  m_totals.sOldCopies = m_parts.fs.FileSystemKeepingCopies(m_sFolder);
  m_totals.lJournal = m_space.lJournal;
  m_totals.bKeepsUncounted = m_space.bKeepsUncounted;
  return {};
}

std::string FreeSpaceRun::Question() const {
  const int32_t lPasses = std::max<int32_t>(m_parts.lPasses, 0) + 1;
  return "Erase the free space of " + m_space.sTop + " (" + m_space.sType + ", " +
         FileAmount(m_space.lAvailable, m_parts.seps).sText + " free) with " + std::to_string(lPasses) +
         " pass(es)? Other programs see the disk full until the run ends.\r\n\r\n(" + kStopHint + ")";
}

void FreeSpaceRun::Execute() {
  const std::string sWhat = "free space of " + m_space.sTop;
  m_parts.reporter.RunStarted(sWhat, true);
  m_sWork = m_space.sTop + kWorkFolder + paths::Separator();
  if (m_parts.fs.MakeWorkFolder(m_sWork)) {
    m_sWork = m_sFolder + kWorkFolder + paths::Separator();
    if (const std::error_code ec = m_parts.fs.MakeWorkFolder(m_sWork)) {
      m_totals.ec = ec;
      return;
    }
  }
  const int32_t lPasses = std::max<int32_t>(m_parts.lPasses, 0);
  m_parts.reporter.FileStarted(sWhat, m_space.lAvailable, m_space.lAvailable, lPasses);
  for (int32_t iPass = 0; iPass <= lPasses && Pass(iPass); ++iPass) {
  }
  for (const Placed& placed : m_fillers) m_totals.lFilled += placed.lLength;
  // The space comes back at once, also after a stop or a failure.
  m_fillers.clear();
  if (!m_totals.bStopped && !m_totals.ec) {
    // Where the file system keeps removed names, the folders' freed entries hold them; the work
    // folder tells (a drive's root cannot be held). The walk holds the disk's top folder and
    // stays on its disk.
    std::unique_ptr<HeldFolder> pWork;
    const Confinement held(m_parts.fs, m_space.sTop);
    if (held.Held() && !m_parts.fs.HoldFolder(m_sWork, pWork) && pWork->AreaKeepsFreedEntries()) {
      pWork.reset();
      FillNames(m_space.sTop, kNameLevels);
    }
    TurnJournal();
  }
  m_parts.fs.RemoveLeftover(m_sWork);
}

void FreeSpaceRun::TurnJournal() {
  const int64_t lStart = m_parts.fs.JournalLogged(m_sWork);
  std::unique_ptr<RecordRewriter> pRewriter;
  if (m_space.lJournal <= 0 || lStart < 0 || m_parts.fs.CreateRewriter(m_sWork, kFillerPrefix, kRewrittenFiles, pRewriter)) return;
  // A journal that logs nothing more after a few rewrites is not turned over by more.
  for (int iIdle = 0; m_totals.lJournalTurned < m_space.lJournal && iIdle < 3 && !m_parts.bStop;) {
    if (pRewriter->Rewrite()) break;
    const int64_t lTurned = std::min(m_parts.fs.JournalLogged(m_sWork) - lStart, m_space.lJournal);
    iIdle = lTurned > m_totals.lJournalTurned ? 0 : iIdle + 1;
    m_totals.lJournalTurned = std::max(lTurned, m_totals.lJournalTurned);
    m_parts.reporter.Breathe();
  }
}

bool FreeSpaceRun::Pass(int32_t iPass) {
  m_block.assign(static_cast<size_t>(kBlock), static_cast<char>('0' + iPass));
  m_lPassDone = 0;
  std::error_code ec;
  iPass > 0 ? RewriteFillers(iPass, ec) : MakeFillers(ec);
  for (Placed& placed : m_fillers) {
    if (ec || m_parts.bStop) break;
    ec = placed.pFiller->Flush();
  }
  if (ec && !m_totals.ec) m_totals.ec = ec;
  m_totals.bStopped = m_parts.bStop;
  return !ec && !m_parts.bStop;
}

void FreeSpaceRun::MakeFillers(std::error_code& ec) {
  // Large fillers until the disk is full, then ever smaller ones for the last clusters and the
  // free file records. Space held back for writes not yet placed comes free once they are on the
  // disk, and space given back once the file system has committed its records: after a flush of
  // every filler and a commit the smaller ones go on while they find room.
  for (const int64_t lSize : {kMaxFiller, kMidFiller, kSmallFiller}) FillWith(lSize, 0, ec);
  for (int iRound = 0; iRound < kFlushRounds + kShortRounds && !ec && !m_parts.bStop; ++iRound) {
    bool bShort = false;
    for (Placed& placed : m_fillers) ec = ec ? ec : UnlessShort(placed.pFiller->Flush(), &bShort);
    // What a commit reports may belong to any file of the disk; each filler's flush told its own.
    if (!ec && !m_fillers.empty()) m_fillers.front().pFiller->CommitFileSystem();
    const bool bLanded = FillWith(kMidFiller, 0, ec) + FillWith(kSmallFiller, 0, ec) > 0;
    if (!bShort && (!bLanded || iRound + 1 >= kFlushRounds)) break;
  }
}

void FreeSpaceRun::RewriteFillers(int32_t iPass, std::error_code& ec) {
  for (Placed& placed : m_fillers) {
    bool bShort = false;
    const int64_t lLanded = Fill(*placed.pFiller, 0, placed.lLength, iPass, ec);
    ec = UnlessShort(ec, &bShort);
    // A filler the disk could not place in full (or, copying on write, rewrite) is as long as
    // what landed: the later fillers took the rest.
    if (bShort) placed.lLength = lLanded;
    if (lLanded < placed.lLength && !ec) ec = std::make_error_code(std::errc::io_error);
    if (ec || m_parts.bStop) break;
  }
}

int64_t FreeSpaceRun::FillWith(int64_t lSize, int32_t iPass, std::error_code& ec) {
  int64_t lLandedAll = 0;
  for (int i = 0; !ec && !m_parts.bStop && (lSize == kMaxFiller || i < kMaxSmallFillers); ++i) {
    std::unique_ptr<Filler> pFiller;
    if (m_parts.fs.CreateFiller(m_sWork, kFillerPrefix + std::to_string(m_fillers.size()), pFiller)) break;
    std::error_code full;
    const int64_t lLanded = Fill(*pFiller, 0, lSize, iPass, full);
    // Some FUSE file systems refuse the write that meets the full disk with another error.
    DiskSpace now;
    const bool bFull = full == std::errc::no_space_on_device || full == std::errc::file_too_large ||
                       (full && !m_parts.fs.SpaceOf(m_sWork, now) && now.lAvailable < kBlock);
    if (full && !bFull) ec = full;
    if (lLanded > 0 && bFull) ec = UnlessShort(pFiller->Flush());
    if (lLanded > 0) m_fillers.push_back({std::move(pFiller), lLanded});
    if (lLanded == 0) break;
    lLandedAll += lLanded;
  }
  return lLandedAll;
}

int64_t FreeSpaceRun::Fill(Filler& filler, int64_t lFrom, int64_t lLength, int32_t iPass, std::error_code& ec) {
  int64_t lDone = 0;
  while (lDone < lLength && !m_parts.bStop) {
    int64_t lWritten = 0;
    ec = filler.WriteAt(lFrom + lDone, m_block.data(), std::min(kBlock, lLength - lDone), lWritten);
    if (lWritten > 0 && !ec) ec = filler.StartWriteBack(lFrom + lDone, lWritten);
    lDone += lWritten;
    // What was written a backlog ago is waited for, so that a flush, and a stop, never wait
    // long for what is still unwritten.
    if (!ec && lDone > kBacklog) ec = filler.WaitWriteBack(lFrom + lDone - kBacklog - kBlock, kBlock);
    m_lPassDone += lWritten;
    const double dblDone = m_space.lAvailable > 0 ? std::min(1.0, static_cast<double>(m_lPassDone) / static_cast<double>(m_space.lAvailable)) : 1.0;
    m_parts.reporter.Written(lWritten, iPass, dblDone);
    if (ec || lWritten == 0) break;
  }
  return lDone;
}

void FreeSpaceRun::FillNames(const std::string& sFolder, int iLevels) {
  if (m_parts.bStop) return;
  ++(m_removal.FillFolder(m_parts.fs, sFolder) ? m_totals.lFoldersNotFilled : m_totals.lFolders);
  m_parts.reporter.Breathe();
  if (iLevels == 0) return;
  for (const FolderEntry& entry : m_parts.fs.ListFolder(sFolder)) {
    const std::string sBelow = sFolder + entry.sName + paths::Separator();
    if (IsFolderItself(entry.lAttributes) && entry.sName != kWorkFolder && m_parts.fs.ProbeFolder(sBelow) == FolderAccess::kReadable)
      FillNames(sBelow, iLevels - 1);
  }
}

std::vector<std::string> FreeSpaceRun::RemoveLeftovers(FileSystem& fs, const std::vector<std::string>& asTops) {
  std::vector<std::string> asRemoved;
  for (const std::string& sTop : asTops) {
    const std::string sWork = sTop + kWorkFolder + paths::Separator();
    if (!paths::IsFolder(fs, sWork)) continue;
    for (const FolderEntry& entry : fs.ListFolder(sWork)) {
      if (entry.sName.starts_with(kFillerPrefix)) fs.RemoveLeftover(sWork + entry.sName);
    }
    if (!fs.RemoveLeftover(sWork)) asRemoved.push_back(sWork);
  }
  return asRemoved;
}

void FreeSpaceRun::Summary() { m_parts.reporter.FreeSpaceEnded(m_totals); }

}  // namespace tarnwipe
