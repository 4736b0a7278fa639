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

// The window at the DPI the test's Wine prefix gives (LogPixels): the client area and every
// control scaled from the design, no label's text wider than its label, the erase button's
// frame covered by no sibling.
TEST(Win32Window, LaidOutAtTheDpiItIsShownAt) {
  DWORD lLogPixels = 96, lSize = sizeof lLogPixels;
  ::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &lLogPixels, &lSize);
  EraseWindow window;
  ASSERT_EQ(::GetDpiForWindow(window.Hwnd()), lLogPixels);
  const auto px = [&](LONG lTwips) { return ::MulDiv(lTwips, static_cast<int>(lLogPixels), 1440); };
  RECT client{};
  ::GetClientRect(window.Hwnd(), &client);
  EXPECT_NEAR(client.right, px(8430), px(8430) / 100);
  EXPECT_NEAR(client.bottom, px(5190), px(5190) / 100);
  RECT erase{};
  for (HWND h = ::GetWindow(window.Hwnd(), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    RECT place{};
    ::GetWindowRect(h, &place);
    ::MapWindowPoints(nullptr, window.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    const int iId = ::GetDlgCtrlID(h);
    if (iId == EraseWindow::kIdErase) erase = place;
    if (iId >= EraseWindow::kIdTimes) {
      const layout::Twips design = EraseWindow::Design(iId);
      EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right - place.left, place.bottom - place.top}),
                (std::vector<LONG>{px(design.iLeft), px(design.iTop), px(design.iWidth), px(design.iHeight)}))
          << iId;
      continue;
    }
    std::wstring sText(64, L'\0');
    sText.resize(static_cast<size_t>(::GetWindowTextW(h, sText.data(), 64)));
    std::erase(sText, L'&');  // an access key's marker takes no room
    const HDC hDc = ::GetDC(h);
    ::SelectObject(hDc, reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(hDc, sText.c_str(), static_cast<int>(sText.size()), &size);
    ::ReleaseDC(h, hDc);
    EXPECT_LE(size.cx, place.right - place.left) << win32::Narrow(sText);
  }
  // Siblings come before the erase button in the z-order when they are drawn above it.
  for (HWND h = ::GetWindow(::GetDlgItem(window.Hwnd(), EraseWindow::kIdErase), GW_HWNDPREV); h != nullptr; h = ::GetWindow(h, GW_HWNDPREV)) {
    RECT place{}, overlap{};
    ::GetWindowRect(h, &place);
    ::MapWindowPoints(nullptr, window.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_FALSE(::IntersectRect(&overlap, &place, &erase)) << ::GetDlgCtrlID(h);
  }
}

}  // namespace
}  // namespace tarnwipe::test
