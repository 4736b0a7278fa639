// The erase engine: overwrites one file pass by pass, flushes every pass, then deletes it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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
  // A file of at most this length joins a batch; a longer one is erased on its own.
  static constexpr int64_t kBatchFileBytes = 1024 * 1024;
  // A batch holds at most this many files, or this many bytes a pass: its passes take about a
  // second at most, which is as long as Esc may have to wait.
  static constexpr size_t kBatchFiles = 512;
  static constexpr int64_t kBatchBytes = 16 * 1024 * 1024;

  // Names go through removal, which notes what each folder lost.
  Eraser(FileSystem& fs, EraseReporter& reporter, NameRemoval& removal)
      : m_fs(fs), m_reporter(reporter), m_removal(removal) {}

  // Erases the file sTarget with lPasses + 1 passes; lBytes is the length it is shown and
  // counted with. A file that could not be erased is kept, and the outcome says why. A negative
  // lPasses means the count was no number: nothing is overwritten and the file is kept. A link
  // is removed as a link, never followed; with bLinkOnly, anything but a link is kept.
  FileOutcome EraseFile(const std::string& sTarget, int32_t lPasses, int64_t lBytes, bool bLinkOnly = false);

  // Small files are erased pass-major in a batch: each pass is written to every file, then made
  // durable for all of them at once (each file flushed on its own where one call cannot reach the
  // medium, or where it reports an error, to tell which file it was), before the next pass
  // starts. A file whose write or flush failed is kept and the others go on; a file is removed
  // only after all its passes landed. The files of a batch lie on one file system: below a held
  // map nothing is reached across a mount, and a run over several items erases its batch before
  // it holds another folder.
  //
  // Enlist opens sPath, of length lBytes, for the batch, and writes its Erasing line now, so that
  // the lines keep the order the files come in. A file that ends at once (kept, a link, a file with named streams,
  // which gets its passes alone, or a count that is no number) gives its outcome here.
  std::optional<FileOutcome> Enlist(const std::string& sPath, int64_t lBytes, int32_t lPasses);
  // Writes every pass to the files enlisted, removes them, and tells how each fared.
  std::vector<FileOutcome> RunBatch(int32_t lPasses);
  size_t BatchFiles() const { return m_batch.size(); }
  int64_t BatchBytes() const { return m_lBatchBytes; }

 private:
  // What the passes over one file or stream write.
  struct Plan {
    std::vector<ByteRange> ranges;  // written by every pass, in order
    bool bListed = false;           // the file's owned ranges were known, and must stay so
  };
  static Plan PlanFor(const ExclusiveFile& file);

  // The plan for the opened file sPath, before its first pass: the outcome gets the bytes of it
  // in use, and the error of RoomFor.
  Plan PlanErase(const std::string& sPath, const ExclusiveFile& file, FileOutcome& outcome) const;

  // Where a file's blocks cannot be listed, every pass covers its whole length, and writing over
  // its holes takes new blocks: a sparse file larger than the room left would fill the disk and
  // be kept all the same. An error when the disk of sPath has not that room.
  std::error_code RoomFor(const std::string& sPath, const ExclusiveFile& file, const Plan& plan) const;

  // Overwrites the open file with lPasses + 1 passes and removes its name; the outcome's error
  // and flags say how far it came.
  void EraseOpened(ExclusiveFile& file, int32_t lPasses, const Plan& plan, FileOutcome& outcome);

  // Ends the erase of the open file whose passes ended as the outcome says: a file kept after a
  // failed pass gets its length back, an overwritten one its name removed; then it is closed.
  void Conclude(ExclusiveFile& file, FileOutcome& outcome);

  // One member of a batch: the open file, what its passes write, and how it fares.
  struct Member {
    FileOutcome outcome;
    std::unique_ptr<ExclusiveFile> pFile;
    Plan plan;
  };
  // Makes the pass just written durable for every member still going; each member whose
  // write-back or flush failed gets its error.
  void FlushTogether();

  // Writes lPasses + 1 passes over the open file (as plan says) and each of its named streams,
  // each pass flushed to the medium. The error of the step that failed: a byte within a file's
  // length that could not be written, a write-back or flush that failed, or another writer's
  // change (KeptCause::kChangedMeanwhile).
  std::error_code OverwriteEraseFile(ExclusiveFile& file, int32_t lPasses, const Plan& plan);

  // The passes over one file or stream, over the ranges of its plan.
  std::error_code OverwritePart(ExclusiveFile& file, int32_t lPasses, const Plan& plan);

  // Writes pass iPass, the filler that buffer holds, over the ranges of the plan, starting the
  // write-back as it goes where bWriteBack (a batch leaves it to the flush that covers all its
  // files at once); lDone counts the bytes of the pass done out of lPassBytes.
  std::error_code WritePass(ExclusiveFile& file, const Plan& plan, const std::vector<char>& buffer, int32_t iPass,
                            int64_t& lDone, int64_t lPassBytes, bool bWriteBack);

  // After the last pass, which buffer holds: an error where another program changed the file.
  std::error_code CheckLastPass(ExclusiveFile& file, const Plan& plan, std::vector<char>& buffer);

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
  std::vector<Member> m_batch;
  int64_t m_lBatchBytes = 0;  // what one pass writes to the batch
};

}  // namespace tarnwipe
