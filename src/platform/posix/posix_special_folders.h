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
  // The home Trash by XDG_DATA_HOME, the tops by the mount table.
  TrashFacts Trash() const override;
  bool IsTrashFolder(const std::string& sFolder, bool bOwn) const override;
  // File managers watch the Trash folders themselves: nothing to tell.
  void TrashChanged(const std::string&) const override {}
};

}  // namespace tarnwipe
