// The erase engine. A file is deleted only after every pass has reached the medium; anything
// less keeps the file and reports it as not erased.
#include "engine/eraser.h"

#include <algorithm>
#include <charconv>

#include "engine/interval.h"
#include "engine/renderings.h"
#include "walker/path_helpers.h"

namespace tarnwipe {
namespace {

constexpr int kProgressTopTwips = 4700;

// The pass count from its text box: digits only, otherwise there is no count.
bool ParsePassCount(const std::string& sText, int32_t& lCount) {
  const auto result = std::from_chars(sText.data(), sText.data() + sText.size(), lCount);
  return !sText.empty() && result.ec == std::errc() && result.ptr == sText.data() + sText.size() && lCount >= 0;
}

// A write past the original end that the medium has no room for: the growth is lost, the
// file's own bytes are not.
bool IsNoRoom(const std::error_code& ec) {
  return ec == std::errc::no_space_on_device || ec == std::errc::file_too_large;
}

}  // namespace

Eraser::Eraser(RunRecord& record, FormView& view, FileSystem& fs, Clock& clock, EventPump& pump,
               const Separators& seps)
    : m_record(record), m_view(view), m_fs(fs), m_clock(clock), m_pump(pump), m_seps(seps) {}

void Eraser::EraseFile(int64_t& lBytes) {
  const std::string sName = paths::ExtractName(m_fs, m_record.sTarget);
  ReportElapsed(ErasingLine(sName, lBytes, m_seps), false);
  m_record.sngFileStart = m_clock.TimeOfDay();

  bool bOk = false;
  const int32_t lAttributes = m_fs.GetAttributes(m_record.sTarget);
  if (lAttributes != -1 && (lAttributes & kAttrLink) != 0) {
    // A link holds no data of its own: it is removed, and what it points to is left alone.
    bOk = !m_fs.RemoveLink(m_record.sTarget);
  } else {
    bOk = OpenEraseFile();
    if (bOk) bOk = OverwriteEraseFile();
    // The name is removed only while it still leads to the file just overwritten.
    if (bOk) bOk = !m_pFile->Remove();
    const bool bClosed = CloseEraseFile();
    bOk = bOk && bClosed;
  }

  m_record.sTarget = sName;
  if (!bOk) {
    ReportElapsed("Could not erased file " + sName, true);
    lBytes = -1;
  }
  m_record.sTarget.clear();
  ShowDots();
  m_pump.Yield();
}

bool Eraser::OpenEraseFile() {
  CloseEraseFile();
  if (m_fs.OpenExclusive(m_record.sTarget, m_pFile)) return false;
  m_iNextFileNo = static_cast<int16_t>(m_iNextFileNo % 511 + 1);
  m_record.iFileNo = m_iNextFileNo;
  return true;
}

bool Eraser::OverwriteEraseFile() {
  if (m_record.iFileNo == 0 || !m_pFile) return false;
  const int64_t lLength = m_pFile->Length();
  int32_t lPasses = 0;
  if (!ParsePassCount(m_view.TimesText(), lPasses)) return false;

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
    m_pump.Yield();
  }
  return true;
}

bool Eraser::CloseEraseFile() {
  if (m_record.iFileNo == 0) return true;
  m_record.iFileNo = 0;
  const std::error_code ec = m_pFile ? m_pFile->Close() : std::error_code();
  m_pFile.reset();
  return !ec;
}

void Eraser::ReportElapsed(std::string sMsg, bool bTimed) {
  if (bTimed) {
    m_record.sngFileEnd = m_clock.TimeOfDay();
    sMsg += TimedSuffix(GetInterval(m_record.sngFileStart, m_record.sngFileEnd), m_seps);
  }
  m_view.PrependMessage(sMsg);
}

void Eraser::ShowProgress(int64_t lTicks) {
  m_iDots = static_cast<int>((m_iDots + lTicks) % kDotCycle);
  if (!m_pump.Due()) return;
  ShowDots();
  m_pump.YieldNow();
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
