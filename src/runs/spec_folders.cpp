// Special folders, looked up anew on every call.
#include "runs/spec_folders.h"

#include "paths/path_text.h"

namespace tarnwipe {

std::vector<std::string> GetSpecFolder(const SpecialFolders& folders, int32_t lFolderId) {
  std::vector<std::string> asFolders;
  switch (lFolderId) {
    case kFolderWindows:
      asFolders = folders.SystemFolders();
      break;
    case kFolderProgramFiles:
      asFolders = folders.ProgramsFolders();
      break;
    case kFolderPersonal:
      asFolders = {folders.DocumentsFolder()};
      break;
    default:
      break;
  }
  if (asFolders.empty()) asFolders.emplace_back();
  // A name as the system hands it may carry its terminating NUL.
  for (std::string& sFolder : asFolders) sFolder = paths::WithSeparator(sFolder.substr(0, sFolder.find('\0')));
  return asFolders;
}

std::vector<std::string> GetWindowsFolder(const SpecialFolders& folders) {
  return GetSpecFolder(folders, kFolderWindows);
}

std::vector<std::string> GetProgramFilesFolders(const SpecialFolders& folders) {
  return GetSpecFolder(folders, kFolderProgramFiles);
}

std::string GetMyDocumentsFolder(const SpecialFolders& folders) {
  return GetSpecFolder(folders, kFolderPersonal).front();
}

std::string GetApplicationFolder(const SpecialFolders& folders) {
  return paths::WithSeparator(folders.ExecutableFolder());
}

}  // namespace tarnwipe
