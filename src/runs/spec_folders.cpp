// Special folders, looked up anew on every call.
#include "runs/spec_folders.h"

#include "runs/path_text.h"

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
  for (std::string& sFolder : asFolders) {
    TrimNull(sFolder);
    AddBackslash(sFolder);
  }
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
  std::string sFolder = folders.ExecutableFolder();
  return AddBackslash(sFolder);
}

}  // namespace tarnwipe
