// The folder run: the window's answers to the walker's events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runs/run_services.h"
#include "walker/dir_drill_events.h"

namespace tarnwipe {

class FolderRun : public DirDrillEvents {
 public:
  explicit FolderRun(RunServices services) : m_s(services) {}

  // Announces a folder, or blocks the run when it is the program's own folder.
  void dd_NewFolder(const std::string& sFolderSpec, bool& bCancel);

  // Erases one file; lBytes becomes its size, or -1 when it was not erased.
  void dd_NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel);

  // Removes the emptied folders, the start folder last, and writes the closing summary.
  void dd_Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes);

  // Notes what became of a file just handed to the engine: lBytes -1 counts it as kept, by its
  // reason; otherwise the holes it had count as not written.
  void NoteOutcome(int64_t lBytes);

  // Writes the closing line with the totals, the folders and files left and why, and one
  // warning per file system in asOldCopies (empty ones say nothing), and puts the captions and
  // the progress back to rest.
  void Finish(const RunRecord::Totals& totals, const std::vector<std::string>& asOldCopies);

  void NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel) override {
    dd_NewFile(sFileSpec, lBytes, bCancel);
  }
  void NewFolder(const std::string& sFolderSpec, bool& bCancel) override { dd_NewFolder(sFolderSpec, bCancel); }
  // Says what a limit of the walk left in a folder; the files count as kept.
  void LeftOver(const std::string& sFolderSpec, int32_t lFiles, int32_t lFolders) override;
  void Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) override {
    dd_Done(lNrTotalFiles, lNrTotalFolders, dblTotalKBytes);
  }

 private:
  // Removes the visited folders in passes, each pass one level deeper from the bottom up; returns
  // how many of those removed kept their names until they went.
  int32_t RemoveVisitedFolders();

  RunServices m_s;
};

}  // namespace tarnwipe
