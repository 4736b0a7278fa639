// The choice of a run by what was chosen.
#include "runs/run_choice.h"

#include "runs/file_run.h"
#include "runs/free_space_run.h"
#include "runs/map_run.h"
#include "runs/several_run.h"
#include "runs/trash_run.h"

namespace tarnwipe {

std::unique_ptr<Run> ChooseRun(const std::vector<Target>& selection, const RunParts& parts) {
  if (selection.size() > 1) return std::make_unique<SeveralRun>(parts, selection);
  const Target& target = selection.front();
  if (target.eKind == TargetKind::kTrash) return std::make_unique<TrashRun>(parts);
  if (target.eKind == TargetKind::kFreeSpace) return std::make_unique<FreeSpaceRun>(parts, target.sPath);
  if (target.IsMap()) return std::make_unique<MapRun>(parts, target.sPath);
  return std::make_unique<FileRun>(parts, target.sPath);
}

}  // namespace tarnwipe
