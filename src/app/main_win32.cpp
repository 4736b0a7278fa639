// Start-up on Windows: answers --help and --version, hands the files and maps named on the
// command line to the window already open in this session, or shows the main window with them
// chosen; the program lives in its message loop until it is closed.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/single_window.h"
#include "platform/win32/erase_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_separators.h"
#include "platform/win32/win32_special_folders.h"
#include "window/command_line.h"
#include "window/frm_erase.h"

namespace {

// The arguments after the program's name; paths are made full paths.
tarnwipe::CommandLine ParseArguments() {
  int iCount = 0;
  LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &iCount);
  std::vector<std::string> asArgs;
  for (int i = 1; i < iCount; ++i) asArgs.push_back(tarnwipe::win32::Narrow(ppArgs[i]));
  ::LocalFree(ppArgs);
  tarnwipe::CommandLine line = tarnwipe::ParseCommandLine(asArgs);
  tarnwipe::MakeTargetsFull(line, [](const std::string& sPath) {
    std::vector<wchar_t> full(32768);
    const DWORD lFull = ::GetFullPathNameW(tarnwipe::win32::Widen(sPath).c_str(), 32768, full.data(), nullptr);
    return lFull > 0 && lFull < 32768 ? tarnwipe::win32::Narrow(std::wstring(full.data(), lFull)) : sPath;
  });
  return line;
}

// A text for the console the program was started from, or in a box when there is none.
void Say(const std::string& sText) {
  const std::wstring sWide = tarnwipe::win32::Widen(sText);
  DWORD lWritten = 0;
  if (::AttachConsole(ATTACH_PARENT_PROCESS) != 0 &&
      ::WriteConsoleW(::GetStdHandle(STD_OUTPUT_HANDLE), sWide.c_str(), static_cast<DWORD>(sWide.size()), &lWritten,
                      nullptr) != 0)
    return;
  ::MessageBoxW(nullptr, sWide.c_str(), L"Tarnwipe", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const tarnwipe::CommandLine line = ParseArguments();
  if (line.eAction != tarnwipe::CommandLine::Action::kRun) {
    Say(line.eAction == tarnwipe::CommandLine::Action::kHelp ? tarnwipe::HelpText() : tarnwipe::VersionText());
    return 0;
  }
  tarnwipe::SingleWindow single;
  if (single.HandToOpenWindow(line.asTargets)) return 0;
  // The themed controls the manifest asks for.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  tarnwipe::Win32FileSystem fs;
  tarnwipe::Win32Clock clock;
  tarnwipe::Win32SpecialFolders folders;
  tarnwipe::EraseWindow window;
  tarnwipe::Win32Dialogs dialogs;
  dialogs.SetOwner(window.Hwnd());
  tarnwipe::FrmErase form(window, fs, clock, dialogs, folders, tarnwipe::SystemSeparators());
  window.Attach(form);
  form.Form_Load();
  window.ShowCentred();
  // This start's own targets come first, so that the starts of the same selection join them.
  if (!line.asTargets.empty()) form.HandOff(line.asTargets);
  single.Receive([&](const std::vector<std::string>& asTargets) {
    if (!asTargets.empty()) form.HandOff(asTargets);
    window.BringToFront();
  });
  return window.Run();
}
