// Lookup of the special folders by the shell's folder ids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/special_folders.h"

namespace tarnwipe {

enum SpecialFolderId : int32_t {
  kFolderPersonal = 5,
  kFolderWindows = 0x24,
  kFolderProgramFiles = 0x26,
};

// The folders that play the id's role, each ending in one separator. A folder that cannot be
// determined is an empty entry, and an empty entry protects everything. The system's role is
// played by several folders on Linux, and Windows has two Program Files folders, hence lists.
std::vector<std::string> GetSpecFolder(const SpecialFolders& folders, int32_t lFolderId);

std::vector<std::string> GetWindowsFolder(const SpecialFolders& folders);
std::vector<std::string> GetProgramFilesFolders(const SpecialFolders& folders);
std::string GetMyDocumentsFolder(const SpecialFolders& folders);

// The folder of the running program, ending in one separator; empty when unknown.
std::string GetApplicationFolder(const SpecialFolders& folders);

}  // namespace tarnwipe
