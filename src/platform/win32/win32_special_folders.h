// The special folders on Windows, from the shell's known-folder ids.
#pragma once

#include "platform/special_folders.h"

namespace tarnwipe {

class Win32SpecialFolders : public SpecialFolders {
 public:
  std::vector<std::string> SystemFolders() const override;
  std::vector<std::string> ProgramsFolders() const override;
  std::string DocumentsFolder() const override;
  std::string ExecutableFolder() const override;
  // The Recycle Bin of the user's SID on every fixed and removable drive.
  TrashFacts Trash() const override;
  bool IsTrashFolder(const std::string& sFolder, bool bOwn) const override;
  void TrashChanged(const std::string& sFolder) const override;
};

}  // namespace tarnwipe
