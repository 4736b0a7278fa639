// The Win32 window on a real display under Wine: files and folders dropped on it, and erased.
#include "platform/win32/erase_window.h"

#include <shlobj.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "fakes.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {
namespace {

// Drops the paths on the window as Explorer does: a DROPFILES block in global memory.
void Drop(HWND hWindow, const std::vector<std::wstring>& asPaths) {
  size_t lChars = 1;
  for (const std::wstring& sPath : asPaths) lChars += sPath.size() + 1;
  const HGLOBAL hDrop = ::GlobalAlloc(GHND, sizeof(DROPFILES) + lChars * sizeof(wchar_t));
  auto* pFiles = static_cast<DROPFILES*>(::GlobalLock(hDrop));
  pFiles->pFiles = sizeof(DROPFILES);
  pFiles->fWide = TRUE;
  auto* pNames = reinterpret_cast<wchar_t*>(pFiles + 1);
  for (const std::wstring& sPath : asPaths) pNames = std::copy(sPath.begin(), sPath.end(), pNames) + 1;
  ::GlobalUnlock(hDrop);
  ::SendMessageW(hWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
}

TEST(Win32Window, DroppedFolderOrFileOrSeveralBecomeTheTarget) {
  wchar_t sTemp[MAX_PATH + 1];
  ::GetTempPathW(MAX_PATH, sTemp);
  const std::filesystem::path folder = std::filesystem::path(sTemp) / L"tarnwipe-dropped";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / L"a.txt") << "a";
  Win32FileSystem fs;
  Win32Clock clock;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  EraseWindow window;
  FrmErase form(window, fs, clock, dialogs, folders, Separators());
  window.Attach(form);
  form.Form_Load();
  Drop(window.Hwnd(), {folder.wstring()});
  EXPECT_EQ(window.EraseCaption(), "&Erase map tarnwipe-dropped");
  Drop(window.Hwnd(), {(folder / L"a.txt").wstring()});
  EXPECT_EQ(window.EraseCaption(), "&Erase file a.txt");
  Drop(window.Hwnd(), {folder.wstring(), (folder / L"a.txt").wstring()});
  EXPECT_EQ(window.EraseCaption(), "&Erase 2 items");
  form.btnErase_Click();
  EXPECT_FALSE(std::filesystem::exists(folder));
  wchar_t sText[34] = {};
  ::GetDlgItemTextW(window.Hwnd(), EraseWindow::kIdMsg, sText, 34);
  EXPECT_EQ(win32::Narrow(sText), "Erased 1 file(s) and 1 folder(s);");
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace tarnwipe::test
