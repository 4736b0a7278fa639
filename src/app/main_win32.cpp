// Start-up on Windows: shows the main window; the program lives in its message loop until it is
// closed.
#include <windows.h>

#include "platform/win32/erase_window.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_separators.h"
#include "platform/win32/win32_special_folders.h"
#include "window/frm_erase.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
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
  return window.Run();
}
