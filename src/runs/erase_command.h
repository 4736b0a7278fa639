// The erase command behind the erase button.
#pragma once

#include "runs/run_services.h"

namespace tarnwipe {

class EraseCommand {
 public:
  explicit EraseCommand(RunServices services) : m_s(services) {}

  // Checks the input and the target, asks for confirmation and runs the erase: the single file
  // itself, or a folder run through the walker.
  void btnErase_Click();

 private:
  // The first input check that fails, as its notice; empty when all pass.
  std::string CheckInput() const;
  void RunMap();
  void RunFile();

  RunServices m_s;
};

}  // namespace tarnwipe
