// Special folders of a Linux desktop.
#pragma once

#include "platform/special_folders.h"

namespace tarnwipe {

class PosixSpecialFolders : public SpecialFolders {
 public:
  std::vector<std::string> SystemFolders() const override;
  std::vector<std::string> ProgramsFolders() const override;
  std::string DocumentsFolder() const override;
  std::string ExecutableFolder() const override;
};

}  // namespace tarnwipe
