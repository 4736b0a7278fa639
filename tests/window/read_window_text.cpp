// Prints the text of one control of the running Tarnwipe window, "message-area", "erase-button"
// or "pass-count", so that a test driving the real window can check what it shows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/erase_window.h"
#include "platform/win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
  using tarnwipe::EraseWindow;
  const std::wstring sName = argc == 2 ? argv[1] : L"message-area";
  const int iId = sName == L"erase-button" ? EraseWindow::kIdErase
                  : sName == L"pass-count" ? EraseWindow::kIdTimes
                                           : EraseWindow::kIdMsg;
  const HWND hWindow = ::FindWindowW(EraseWindow::kClassName, nullptr);
  const HWND hControl = hWindow != nullptr ? ::GetDlgItem(hWindow, iId) : nullptr;
  if (hControl == nullptr) return 1;
  std::wstring sText(static_cast<size_t>(::SendMessageW(hControl, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  sText.resize(static_cast<size_t>(
      ::SendMessageW(hControl, WM_GETTEXT, sText.size(), reinterpret_cast<LPARAM>(sText.data()))));
  const std::string sUtf8 = tarnwipe::win32::Narrow(sText);
  std::fwrite(sUtf8.data(), 1, sUtf8.size(), stdout);
  return 0;
}
