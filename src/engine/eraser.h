// The erase engine: overwrites one file pass by pass, flushes every pass, then deletes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/event_pump.h"
#include "engine/file_progress.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/form_view.h"
#include "platform/separators.h"

namespace tarnwipe {

class Eraser {
 public:
  static constexpr int64_t kBlock = 1024;
  // Blocks go out in page-aligned batches of this size.
  static constexpr int64_t kChunk = 4 * 1024 * 1024;
  // At most this much of a pass waits in memory for the medium, so no wait, the pass's final
  // flush included, lasts longer than writing it takes.
  static constexpr int64_t kBacklog = 2 * kChunk;
  // A large file's blocks are given back in steps of this size before it is deleted.
  static constexpr int64_t kReleaseStep = 128 * 1024 * 1024;
  // The progress caption runs through 1 to 87 dots, then starts again.
  static constexpr int kDotCycle = 88;

  Eraser(FormView& view, FileSystem& fs, Clock& clock, EventPump& pump, const Separators& seps);

  // Erases the file sTarget with lPasses + 1 passes. lBytes holds the size shown in the Erasing
  // line; it becomes -1 when the file was not erased, in which case the file is kept and a
  // failure line is written. A negative lPasses means the count was no number: nothing is
  // overwritten and the file is kept. A link is removed as a link, never followed; with
  // bLinkOnly, anything but a link is kept and reported as not erased.
  void EraseFile(const std::string& sTarget, int32_t lPasses, int64_t& lBytes, bool bLinkOnly = false);

  // Puts sMsg on top of the message area, with the time since the current file's start when
  // bTimed, and sBelow, when given, on a line of its own below it.
  void ReportElapsed(std::string sMsg, bool bTimed, const std::string& sBelow = "");

  // lTicks progress ticks, one per block written; the window sees them at most once a frame,
  // and, once a frame has passed, at the end of each file.
  void ShowProgress(int64_t lTicks = 1);

  // Empties the progress caption.
  void ClearProgress();

  // How far a long file is, in the title and on the taskbar.
  FileProgress& Progress() { return m_progress; }

  // Bytes of the last file's length that held blocks of its own, which the passes overwrote; its
  // length where that could not be told. A speed is told from these: holes are not written.
  int64_t LastInUse() const { return m_lInUse; }

  // Why the last file was kept, in the words of its failure line; empty when it was erased.
  const std::string& LastReason() const { return m_sLastReason; }

 private:
  // What the passes over one file or stream write.
  struct Plan {
    std::vector<ByteRange> ranges;  // written by every pass, in order
    bool bListed = false;           // the file's owned ranges were known, and must stay so
  };
  static Plan PlanFor(const ExclusiveFile& file);

  // Opens sTarget for exclusive overwriting; the error when it cannot be opened.
  std::error_code OpenEraseFile(const std::string& sTarget);

  // Writes lPasses + 1 passes over the open file (as plan says) and each of its named streams,
  // each pass flushed to the medium. The error of the step that failed: a byte within a file's
  // length that could not be written, a write-back or flush that failed, or another writer's
  // change (KeptCause::kChangedMeanwhile).
  std::error_code OverwriteEraseFile(int32_t lPasses, const Plan& plan);

  // The passes over one file or stream, over the ranges of its plan.
  std::error_code OverwritePart(ExclusiveFile& file, int32_t lPasses, const Plan& plan);

  // Writes all lSize bytes at lOffset, going on after short and interrupted writes; lWritten
  // tells how many landed.
  static std::error_code WriteWhole(ExclusiveFile& file, int64_t lOffset, const char* pData, int64_t lSize,
                                    int64_t& lWritten);

  // True when the file is still between lLength and the end of the ranges long and reads back
  // as nothing but the filler that the buffer holds, within the ranges; the buffer is used to
  // read.
  bool ReadsBackAs(ExclusiveFile& file, int64_t lLength, const std::vector<ByteRange>& ranges, std::vector<char>& filler);

  // Closes the open erase file, if any; the error when the close failed.
  std::error_code CloseEraseFile();

  void ShowDots();

  FormView& m_view;
  FileSystem& m_fs;
  Clock& m_clock;
  EventPump& m_pump;
  const Separators& m_seps;

  FileProgress m_progress;
  std::unique_ptr<ExclusiveFile> m_pFile;  // the open erase file; at most one at a time
  float m_sngFileStart = 0;                // clock when the current file's erase began
  int64_t m_lInUse = 0;                    // see LastInUse
  std::string m_sLastReason;               // see LastReason
  bool m_bNameLeft = false;                // the last file's name could not be renamed away
  int m_iDots = 0;
};

}  // namespace tarnwipe
