// Which run erases a selection.
#pragma once

#include <memory>
#include <vector>

#include "runs/run.h"
#include "runs/target.h"

namespace tarnwipe {

// The run for a selection of one or more targets: one file, one map, the Trash, a disk's free
// space, or several items.
std::unique_ptr<Run> ChooseRun(const std::vector<Target>& selection, const RunParts& parts);

}  // namespace tarnwipe
