// The run over a disk's free space: what was deleted before lies there, contents and names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/name_removal.h"
#include "runs/free_space_run_totals.h"
#include "runs/run.h"

namespace tarnwipe {

class FreeSpaceRun : public Run {
 public:
  // The run's work folder, at the top of the disk where the user may write there, otherwise in
  // the chosen folder. A start of the program removes what a run stopped by force left in one at
  // a disk's top.
  static constexpr char kWorkFolder[] = ".tarnwipe-free-space";
  // Fillers are written in blocks of this size, and grow to at most this length each.
  static constexpr int64_t kBlock = 1 << 20;
  static constexpr int64_t kMaxFiller = (int64_t{4} << 30) - kBlock;
  // Bytes of a filler written but not yet known to be on the disk, at most.
  static constexpr int64_t kBacklog = 16 * kBlock;
  // The smaller fillers that take the last clusters and free file records, and at most how many
  // of each size.
  static constexpr int64_t kMidFiller = 64 << 10;
  static constexpr int64_t kSmallFiller = 512;
  static constexpr int kMaxSmallFillers = 100000;
  // How many rounds of smaller fillers follow a flush of every filler.
  static constexpr int kFlushRounds = 1;
  // And how many more follow while the file system could not place all its fillers took.
  static constexpr int kShortRounds = 3;
  // The files whose records are rewritten to turn the journal over: 1 MiB of ext4's records.
  static constexpr int kRewrittenFiles = 4096;
  // A filler's name, where it has one, begins so.
  static constexpr char kFillerPrefix[] = "filler-";

  FreeSpaceRun(RunParts parts, std::string sFolder);

  // Removes what runs stopped by force (killed, a power cut) left in the work folders at the tops
  // asTops of the mounted disks: their named fillers, then the folders; returns those folders.
  static std::vector<std::string> RemoveLeftovers(FileSystem& fs, const std::vector<std::string>& asTops);

  // The chosen folder must be a folder whose disk can tell its free space.
  std::string Check() override;
  std::string Question() const override;
  // Fills the free space pass by pass, each pass flushed; lets the fillers go; then, where the
  // file system keeps removed names, overwrites the freed entries of every folder of the disk;
  // last, where a journal keeps older copies of records (names among them), turns it over.
  void Execute() override;
  void Summary() override;

 private:
  // One pass with its own filler byte: the first makes the fillers until no more fit, the later
  // ones overwrite the same fillers. False when the run is to end.
  bool Pass(int32_t iPass);
  // The first pass's fillers, made until no more fit; ec gets an error other than a full disk.
  void MakeFillers(std::error_code& ec);
  // A later pass over the same fillers.
  void RewriteFillers(int32_t iPass, std::error_code& ec);
  // Makes fillers of lSize bytes (the last ones shorter) until one takes nothing, the disk being
  // full; the bytes they took. ec gets an error other than a full disk.
  int64_t FillWith(int64_t lSize, int32_t iPass, std::error_code& ec);
  // Writes lLength bytes of the pass's byte to the filler from lFrom; the bytes that landed.
  int64_t Fill(Filler& filler, int64_t lFrom, int64_t lLength, int32_t iPass, std::error_code& ec);
  // Overwrites the freed entries of sFolder and of every folder below it on the same disk.
  void FillNames(const std::string& sFolder, int iLevels);
  // Rewrites records of the run's own until the journal has logged its whole length anew.
  void TurnJournal();

  RunParts m_parts;
  std::string m_sFolder;
  DiskSpace m_space;
  std::string m_sWork;
  struct Placed {
    std::unique_ptr<Filler> pFiller;
    int64_t lLength = 0;
  };
  std::vector<Placed> m_fillers;
  std::vector<char> m_block;
  int64_t m_lPassDone = 0;  // bytes of the current pass written
  NameRemoval m_removal;
  FreeSpaceTotals m_totals;
};

}  // namespace tarnwipe
