// Known folders through SHGetKnownFolderPath, the program's folder through GetModuleFileNameW.
#include "platform/win32/win32_special_folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <sddl.h>
#include <shlobj.h>

#include <vector>

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

TrashFacts Win32SpecialFolders::Trash() const {
  TrashFacts facts;
  facts.bRecycleBin = true;
  HANDLE hToken = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
    DWORD lSize = 0;
    ::GetTokenInformation(hToken, TokenUser, nullptr, 0, &lSize);
    std::vector<BYTE> user(lSize);
    PWSTR pSid = nullptr;
    if (lSize > 0 && ::GetTokenInformation(hToken, TokenUser, user.data(), lSize, &lSize) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &pSid)) {
      facts.sUser = win32::Narrow(pSid);
      ::LocalFree(pSid);
    }
    ::CloseHandle(hToken);
  }
  wchar_t sDrives[512] = {};
  ::GetLogicalDriveStringsW(511, sDrives);
  for (const wchar_t* p = sDrives; *p != L'\0'; p += wcslen(p) + 1) {
    const UINT lType = ::GetDriveTypeW(p);
    if (lType == DRIVE_FIXED || lType == DRIVE_REMOVABLE) facts.asTops.push_back(win32::Narrow(p));
  }
  return facts;
}

bool Win32SpecialFolders::IsTrashFolder(const std::string& sFolder, bool) const {
  const DWORD lAttributes = ::GetFileAttributesW(win32::LongPath(sFolder).c_str());
  return lAttributes != INVALID_FILE_ATTRIBUTES && (lAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (lAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

void Win32SpecialFolders::TrashChanged(const std::string& sFolder) const {
  ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, win32::Widen(sFolder).c_str(), nullptr);
}

}  // namespace tarnwipe
