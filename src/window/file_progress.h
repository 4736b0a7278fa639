// How far the file being overwritten is, for a file that takes a while: in the title, after the
// run's own caption, and on the taskbar where the platform has one.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/form_view.h"

namespace tarnwipe {

class FileProgress {
 public:
  // A file shows its progress once it has taken this long, and at most this often.
  static constexpr double kQuietSeconds = 2.0;
  static constexpr double kNoteSeconds = 0.25;

  FileProgress(FormView& view, Clock& clock) : m_view(view), m_clock(clock) {}

  // The window's caption during the run, which the progress follows and which comes back after it.
  void SetRunCaption(const std::string& sCaption) { m_sCaption = sCaption; }

  // A file begins, to get passes 0 to lPasses.
  void Start(int32_t lPasses);

  // Pass iPass of the file is dblPassDone (0 to 1) done.
  void Update(int32_t iPass, double dblPassDone);

  // The file is done: the run's caption comes back and the taskbar shows nothing.
  void Finish();

 private:
  FormView& m_view;
  Clock& m_clock;
  std::string m_sCaption;
  int32_t m_lPasses = 0;
  double m_dblStart = 0, m_dblLastNote = 0;
  bool m_bShown = false;
};

// "pass 3 of 6, 42 %, about 1 min left": the pass counted from 1, the whole file's percentage
// and the time left, in seconds under a minute, in minutes under an hour, else in hours and
// minutes.
std::string ProgressNote(int32_t iPass, int32_t lPasses, int iPercent, double dblSecondsLeft);

}  // namespace tarnwipe
