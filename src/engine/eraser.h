// The erase engine: overwrites one file pass by pass, flushes every pass, then deletes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/erase_reporter.h"
#include "engine/file_outcome.h"
#include "engine/name_removal.h"
#include "platform/file_system.h"

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

  // Names go through removal, which notes what each folder lost.
  Eraser(FileSystem& fs, EraseReporter& reporter, NameRemoval& removal)
      : m_fs(fs), m_reporter(reporter), m_removal(removal) {}

  // Erases the file sTarget with lPasses + 1 passes; lBytes is the length it is shown and
  // counted with. A file that could not be erased is kept, and the outcome says why. A negative
  // lPasses means the count was no number: nothing is overwritten and the file is kept. A link
  // is removed as a link, never followed; with bLinkOnly, anything but a link is kept.
  FileOutcome EraseFile(const std::string& sTarget, int32_t lPasses, int64_t lBytes, bool bLinkOnly = false);

 private:
  // What the passes over one file or stream write.
  struct Plan {
    std::vector<ByteRange> ranges;  // written by every pass, in order
    bool bListed = false;           // the file's owned ranges were known, and must stay so
  };
  static Plan PlanFor(const ExclusiveFile& file);

  // Overwrites the open file with lPasses + 1 passes and removes its name; the outcome's error
  // and flags say how far it came.
  void EraseOpened(ExclusiveFile& file, int32_t lPasses, const Plan& plan, FileOutcome& outcome);

  // Writes lPasses + 1 passes over the open file (as plan says) and each of its named streams,
  // each pass flushed to the medium. The error of the step that failed: a byte within a file's
  // length that could not be written, a write-back or flush that failed, or another writer's
  // change (KeptCause::kChangedMeanwhile).
  std::error_code OverwriteEraseFile(ExclusiveFile& file, int32_t lPasses, const Plan& plan);

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

  FileSystem& m_fs;
  EraseReporter& m_reporter;
  NameRemoval& m_removal;
};

}  // namespace tarnwipe
