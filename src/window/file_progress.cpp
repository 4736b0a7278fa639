// How far the file being overwritten is.
#include "window/file_progress.h"

#include <cmath>


namespace tarnwipe {

void FileProgress::Start(int32_t lPasses) {
  m_lPasses = lPasses;
  m_dblStart = m_clock.Monotonic();
  m_dblLastNote = m_dblStart;
}

void FileProgress::Update(int32_t iPass, double dblPassDone) {
  const double dblNow = m_clock.Monotonic();
  if (dblNow - m_dblStart < kQuietSeconds || dblNow - m_dblLastNote < kNoteSeconds) return;
  m_dblLastNote = dblNow;
  const double dblDone = (iPass + dblPassDone) / (m_lPasses + 1);
  if (dblDone <= 0) return;
  const double dblLeft = (dblNow - m_dblStart) * (1 - dblDone) / dblDone;
  const int iPercent = static_cast<int>(dblDone * 100);
  m_view.SetCaption(m_sCaption + "  " + ProgressNote(iPass, m_lPasses, iPercent, dblLeft));
  m_view.SetTaskProgress(iPercent);
  m_bShown = true;
}

void FileProgress::Finish() {
  if (!m_bShown) return;
  m_view.SetCaption(m_sCaption);
  m_view.SetTaskProgress(-1);
  m_bShown = false;
}

std::string ProgressNote(int32_t iPass, int32_t lPasses, int iPercent, double dblSecondsLeft) {
  const long lSeconds = std::lround(std::ceil(dblSecondsLeft));
  std::string sLeft;
  if (lSeconds < 60) {
    sLeft = std::to_string(lSeconds) + " s";
  } else if (lSeconds < 3600) {
    sLeft = std::to_string((lSeconds + 59) / 60) + " min";
  } else {
    sLeft = std::to_string(lSeconds / 3600) + " h " + std::to_string((lSeconds % 3600 + 59) / 60) + " min";
  }
  return "pass " + std::to_string(iPass + 1) + " of " + std::to_string(lPasses + 1) + ", " + std::to_string(iPercent) +
         " %, about " + sLeft + " left";
}

}  // namespace tarnwipe
