// Known folders through SHGetKnownFolderPath, the program's folder through GetModuleFileNameW.
#include "platform/win32/win32_special_folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "paths/path_text.h"
#include "platform/win32/wide_text.h"

namespace tarnwipe {
namespace {

// The known folder ending in the separator; empty when the shell cannot say.
std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR pPath = nullptr;
  std::string sFolder;
  if (::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &pPath) == S_OK) sFolder = win32::Narrow(pPath);
  ::CoTaskMemFree(pPath);
  return paths::WithSeparator(sFolder);
}

}  // namespace

std::vector<std::string> Win32SpecialFolders::SystemFolders() const { return {KnownFolder(FOLDERID_Windows)}; }

std::vector<std::string> Win32SpecialFolders::ProgramsFolders() const {
  std::vector<std::string> asFolders{KnownFolder(FOLDERID_ProgramFiles)};
  const std::string sX86 = KnownFolder(FOLDERID_ProgramFilesX86);
  if (sX86 != asFolders.front()) asFolders.push_back(sX86);
  return asFolders;
}

std::string Win32SpecialFolders::DocumentsFolder() const { return KnownFolder(FOLDERID_Documents); }

std::string Win32SpecialFolders::ExecutableFolder() const {
  std::wstring sExe(32768, L'\0');
  const DWORD n = ::GetModuleFileNameW(nullptr, sExe.data(), static_cast<DWORD>(sExe.size()));
  if (n == 0 || n >= sExe.size()) return {};
  sExe.resize(n);
  return paths::WithoutSeparator(paths::FolderPart(win32::Narrow(sExe)));
}

}  // namespace tarnwipe
