// Dialogs through the wide calls. The logic's style and answer values are Windows' own.
#include "platform/win32/win32_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "paths/path_text.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

namespace tarnwipe {
namespace {

constexpr DWORD kLongestPath = 32768;

// A folder link (symbolic link or junction) names the folder it leads to, never the folder that
// holds the link; anything else stays as chosen.
std::string FolderBehindLink(const std::string& sPath) {
  const DWORD lAttributes = ::GetFileAttributesW(win32::LongPath(sPath).c_str());
  const DWORD lLinkFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  if (lAttributes == INVALID_FILE_ATTRIBUTES || (lAttributes & lLinkFolder) != lLinkFolder) return sPath;
  const win32::Handle h(::CreateFileW(win32::LongPath(sPath).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  // A link that leads nowhere names no folder.
  const std::string sTarget = h.IsOpen() ? win32::FinalPath(h.Get()) : std::string();
  return sTarget.empty() ? std::string() : paths::WithSeparator(sTarget);
}

}  // namespace

int32_t Win32Dialogs::MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) {
  return ::MessageBoxW(m_hOwner, win32::Widen(sText).c_str(), win32::Widen(sTitle).c_str(),
                       static_cast<UINT>(lStyle) | MB_TASKMODAL);
}

std::vector<std::string> Win32Dialogs::ChooseFiles(const std::string& sTitle, const std::string& sStartFolder,
                                                   const std::string& sFilter) {
  // One filter entry: the text shown, then the pattern "*.*", which matches every name.
  const std::wstring sFilters = win32::Widen(sFilter) + L'\0' + L"*.*" + L'\0' + L'\0';
  const std::wstring sStart = win32::Widen(sStartFolder);
  const std::wstring sWideTitle = win32::Widen(sTitle);
  std::vector<wchar_t> file(kLongestPath, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hOwner;
  ofn.hInstance = ::GetModuleHandleW(nullptr);
  ofn.lpstrFilter = sFilters.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kLongestPath;
  ofn.lpstrInitialDir = sStart.empty() ? nullptr : sStart.c_str();
  ofn.lpstrTitle = sWideTitle.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ALLOWMULTISELECT;
  if (::GetOpenFileNameW(&ofn) == 0) return {};
  // One file comes back as its full path; several as their folder followed by their names,
  // each ended by a NUL, the list by a further one.
  std::vector<std::wstring> asParts;
  for (const wchar_t* p = file.data(); *p != L'\0'; p += asParts.back().size() + 1) asParts.emplace_back(p);
  if (asParts.size() == 1) return {win32::Narrow(asParts.front())};
  std::vector<std::string> asChosen;
  const std::string sFolder = paths::WithSeparator(win32::Narrow(asParts.front()));
  for (size_t i = 1; i < asParts.size(); ++i) asChosen.push_back(sFolder + win32::Narrow(asParts[i]));
  return asChosen;
}

std::string Win32Dialogs::ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) {
  (void)sStartFolder;  // the browser starts at the desktop, which offers the whole namespace
  const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring sWideTitle = win32::Widen(sTitle);
  BROWSEINFOW info{};
  info.hwndOwner = m_hOwner;
  info.lpszTitle = sWideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_BROWSEINCLUDEFILES;
  std::string sChosen;
  if (PIDLIST_ABSOLUTE pList = ::SHBrowseForFolderW(&info)) {
    std::vector<wchar_t> path(kLongestPath, L'\0');
    if (::SHGetPathFromIDListEx(pList, path.data(), kLongestPath, GPFIDL_DEFAULT) != 0)
      sChosen = FolderBehindLink(win32::Narrow(path.data()));
    ::CoTaskMemFree(pList);
  }
  if (SUCCEEDED(hrInit)) ::CoUninitialize();
  return sChosen;
}

int Win32Dialogs::ChooseFromMenu(const std::vector<std::string>& asItems) {
  const HMENU hMenu = ::CreatePopupMenu();
  for (size_t i = 0; i < asItems.size(); ++i) ::AppendMenuW(hMenu, MF_STRING, i + 1, win32::Widen(asItems[i]).c_str());
  POINT at{};
  ::GetCursorPos(&at);
  const int iChosen = static_cast<int>(::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, m_hOwner, nullptr));
  ::DestroyMenu(hMenu);
  return iChosen - 1;
}

}  // namespace tarnwipe
