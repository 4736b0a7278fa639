// The erase command behind the erase button.
#pragma once

#include "runs/run_services.h"
#include "runs/several_run.h"

namespace tarnwipe {

class EraseCommand {
 public:
  EraseCommand(RunServices services, FolderRun& folderRun) : m_s(services), m_several(services, folderRun) {}

  // Checks the input and the target, asks for confirmation and runs the erase: the single file
  // itself, a folder run through the walker, or a run over several items.
  void btnErase_Click();

 private:
  // The first input check that fails, as its notice; empty when all pass.
  std::string CheckInput() const;
  void RunMap();
  void RunFile();

  RunServices m_s;
  SeveralRun m_several;
};

}  // namespace tarnwipe
