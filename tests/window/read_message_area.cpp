// Prints the message area of the running Tarnwipe window, as the program wrote it, so that a
// test driving the real window can check what it reported.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/wide_text.h"

namespace {

BOOL CALLBACK FindMessageArea(HWND hChild, LPARAM lParam) {
  wchar_t sClass[16] = {};
  ::GetClassNameW(hChild, sClass, 16);
  const bool bMultiLine = (::GetWindowLongW(hChild, GWL_STYLE) & ES_MULTILINE) != 0;
  if (::lstrcmpiW(sClass, L"Edit") != 0 || !bMultiLine) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hChild;
  return FALSE;
}

}  // namespace

int wmain() {
  const HWND hWindow = ::FindWindowW(L"TarnwipeFrmErase", nullptr);
  HWND hArea = nullptr;
  if (hWindow != nullptr) ::EnumChildWindows(hWindow, FindMessageArea, reinterpret_cast<LPARAM>(&hArea));
  if (hArea == nullptr) return 1;
  std::wstring sText(static_cast<size_t>(::SendMessageW(hArea, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  sText.resize(static_cast<size_t>(
      ::SendMessageW(hArea, WM_GETTEXT, sText.size(), reinterpret_cast<LPARAM>(sText.data()))));
  const std::string sUtf8 = tarnwipe::win32::Narrow(sText);
  std::fwrite(sUtf8.data(), 1, sUtf8.size(), stdout);
  return 0;
}
