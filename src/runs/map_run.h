// The run over one chosen map: the walk's handlers, which erase each file it reports and remove
// the folders it emptied.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "engine/name_removal.h"
#include "runs/file_batch.h"
#include "runs/confinement.h"
#include "runs/run.h"
#include "walker/c_dir_drill.h"
#include "walker/dir_drill_events.h"

namespace tarnwipe {

class MapRun : public Run, private DirDrillEvents {
 public:
  // pasErasedOnTheirOwn: files of the map, by their resolved paths, that a run over several
  // erases on their own turn; the walk passes them over.
  MapRun(RunParts parts, std::string sFolder, const std::set<std::string>* pasErasedOnTheirOwn = nullptr);

  // Refuses a protected map and one that is gone; holds the map from here to the end of the run.
  std::string Check() override;
  std::string Question() const override;
  void Execute() override;
  void Summary() override;
  bool Blocked() const override { return m_bBlocked; }

  // Walks the map, which the caller holds, with the pattern list: each matching file erased,
  // each emptied folder removed, the map last.
  void Walk();

  const RunTotals& Totals() const { return m_totals; }

  // Announces a folder, or blocks the run when it is the program's own folder.
  void dd_NewFolder(const std::string& sFolderSpec, bool& bCancel);
  // Erases one file; lBytes becomes its length, or -1 when it was not erased.
  void dd_NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel);
  // Removes the emptied folders, the map last, and counts them.
  void dd_Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes);

 private:
  void NewFile(const std::string& sFileSpec, int64_t& lBytes, bool& bCancel) override {
    dd_NewFile(sFileSpec, lBytes, bCancel);
  }
  void NewFolder(const std::string& sFolderSpec, bool& bCancel) override { dd_NewFolder(sFolderSpec, bCancel); }
  void LeftOver(const std::string& sFolderSpec, int32_t lFiles, int32_t lFolders) override;
  void Done(int32_t lNrTotalFiles, int32_t lNrTotalFolders, double dblTotalKBytes) override {
    dd_Done(lNrTotalFiles, lNrTotalFolders, dblTotalKBytes);
  }

  // Removes the folder sFolder, counting it as removed or not.
  void RemoveFolder(const std::string& sFolder);

  RunParts m_parts;
  NameRemoval m_removal;
  std::string m_sFolder;
  const std::set<std::string>* m_pasErasedOnTheirOwn;
  CDirDrill dd;
  std::optional<Confinement> m_held;
  std::string m_sOldCopies;  // the map's file system when it keeps old copies
  bool m_bBlocked;
  RunTotals m_totals;
  // The small files met, erased a batch at a time across folders; each file's lines come in
  // the walk's order all the same, as it joins the batch.
  FileBatch m_batch{m_parts, m_removal, m_totals};
};

}  // namespace tarnwipe
