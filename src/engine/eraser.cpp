// The erase engine. A file is deleted only after every pass has reached the medium; anything
// less keeps the file and reports it as not erased.
#include "engine/eraser.h"

#include <algorithm>

#include "engine/interval.h"
#include "engine/renderings.h"
#include "platform/paths.h"

namespace tarnwipe {
namespace {

constexpr int kProgressTopTwips = 4700;

// A write past the original end that the medium has no room for: the growth is lost, the
// file's own bytes are not.
bool IsNoRoom(const std::error_code& ec) {
  return ec == std::errc::no_space_on_device || ec == std::errc::file_too_large;
}

}  // namespace

Eraser::Eraser(FormView& view, FileSystem& fs, Clock& clock, EventPump& pump, const Separators& seps)
    : m_view(view), m_fs(fs), m_clock(clock), m_pump(pump), m_seps(seps) {}

void Eraser::EraseFile(const std::string& sTarget, int32_t lPasses, int64_t& lBytes) {
  const std::string sName = paths::LastName(sTarget);
  ReportElapsed(ErasingLine(sName, lBytes, m_seps), false);
  m_sngFileStart = m_clock.TimeOfDay();

  bool bOk = false;
  const int32_t lAttributes = m_fs.GetAttributes(sTarget);
  if (lAttributes != -1 && (lAttributes & kAttrLink) != 0) {
    // A link holds no data of its own: it is removed, and what it points to is left alone.
    bOk = !m_fs.RemoveLink(sTarget);
  } else {
    bOk = lPasses >= 0 && OpenEraseFile(sTarget);
    if (bOk) bOk = OverwriteEraseFile(lPasses);
    // The name is removed only while it still leads to the file just overwritten.
    if (bOk) bOk = !m_pFile->Remove();
    const bool bClosed = CloseEraseFile();
    bOk = bOk && bClosed;
  }

  if (!bOk) {
    ReportElapsed("Could not erased file " + sName, true);
    lBytes = -1;
  }
  ShowDots();
  m_pump.Pump();
}

bool Eraser::OpenEraseFile(const std::string& sTarget) {
  CloseEraseFile();
  return !m_fs.OpenExclusive(sTarget, m_pFile);
}

bool Eraser::OverwriteEraseFile(int32_t lPasses) {
  if (!m_pFile) return false;
  const int64_t lLength = m_pFile->Length();

  // Every pass covers the blocks at 0, 1024, ... up to the last one that starts at or before
  // the end, so the file's last partial block is overwritten whole.
  const int64_t lPassBytes = (lLength / kBlock + 1) * kBlock;
  std::vector<char> buffer(static_cast<size_t>(std::min(kChunk, lPassBytes)));
  for (int32_t i = 0; i <= lPasses; ++i) {
    std::fill(buffer.begin(), buffer.end(), static_cast<char>(48 + i));
    bool bNoRoom = false;
    for (int64_t lOffset = 0; lOffset < lPassBytes; lOffset += kChunk) {
      const int64_t lSize = std::min(kChunk, lPassBytes - lOffset);
      if (!bNoRoom) {
        int64_t lWritten = 0;
        const std::error_code ec = m_pFile->WriteAt(lOffset, buffer.data(), lSize, lWritten);
        if (ec) {
          if (lOffset + lWritten < lLength || !IsNoRoom(ec)) return false;
          bNoRoom = true;
        }
        if (lWritten > 0) m_pFile->StartWriteBack(lOffset, lWritten);
        if (lOffset >= kBacklog) m_pFile->WaitWriteBack(lOffset - kBacklog, kChunk);
      }
      ShowProgress(lSize / kBlock);
    }
    if (m_pFile->Flush()) return false;
  }
  // Giving back the blocks of a large file takes the file system a while; in steps, the window
  // stays responsive. Every byte is overwritten and on the medium by now.
  for (int64_t lKeep = lPassBytes - kReleaseStep; lKeep > 0; lKeep -= kReleaseStep) {
    m_pFile->Truncate(lKeep);
    m_pump.Pump();
  }
  return true;
}

bool Eraser::CloseEraseFile() {
  if (!m_pFile) return true;
  const std::error_code ec = m_pFile->Close();
  m_pFile.reset();
  return !ec;
}

void Eraser::ReportElapsed(std::string sMsg, bool bTimed) {
  if (bTimed) sMsg += TimedSuffix(GetInterval(m_sngFileStart, m_clock.TimeOfDay()), m_seps);
  m_view.PrependMessage(sMsg);
}

void Eraser::ShowProgress(int64_t lTicks) {
  m_iDots = static_cast<int>((m_iDots + lTicks) % kDotCycle);
  if (!m_pump.Due()) return;
  ShowDots();
  m_pump.PumpNow();
}

void Eraser::ClearProgress() {
  m_iDots = 0;
  m_view.SetProgressCaption("");
}

void Eraser::ShowDots() {
  m_view.SetProgressTop(kProgressTopTwips);
  m_view.SetProgressCaption(std::string(static_cast<size_t>(m_iDots), '.'));
}

}  // namespace tarnwipe
