// The main window's controls. Positions are the design's twips at the window's DPI (a twip is
// 1/1440 inch), laid out again when the window moves to a monitor of another DPI; controls are
// created in tab order, which is also their order for IsDialogMessageW.
#include "platform/win32/erase_window.h"

#include <shellapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/wide_text.h"
#include "window/frm_erase.h"

namespace tarnwipe {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

std::string TextOf(HWND h) {
  std::wstring sText(static_cast<size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
  sText.resize(static_cast<size_t>(::GetWindowTextW(h, sText.data(), static_cast<int>(sText.size()))));
  return win32::Narrow(sText);
}

// Pixels the text takes in the font, without its access-key marker.
int TextWidth(HWND h, HFONT hFont, std::wstring sText) {
  sText.erase(std::remove(sText.begin(), sText.end(), L'&'), sText.end());
  const HDC hDc = ::GetDC(h);
  const HGDIOBJ hOld = ::SelectObject(hDc, hFont);
  SIZE size{};
  ::GetTextExtentPoint32W(hDc, sText.c_str(), static_cast<int>(sText.size()), &size);
  ::SelectObject(hDc, hOld);
  ::ReleaseDC(h, hDc);
  return size.cx;
}

}  // namespace

EraseWindow::EraseWindow() {
  const HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &EraseWindow::WindowProc;
  windowClass.hInstance = hInstance;
  windowClass.hIcon = ::LoadIconW(hInstance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassExW(&windowClass);

  m_hWnd = ::CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                             hInstance, this);
  m_iDpi = ::GetDpiForWindow(m_hWnd);
  CreateControls();
  Layout();
  ::DragAcceptFiles(m_hWnd, TRUE);
}

layout::Twips EraseWindow::Design(int iId) {
  switch (iId) {
    case kIdTimes: return layout::kTimes;
    case kIdSpec: return layout::kSpec;
    case kIdInfo: return layout::kInfo;
    case kIdFile: return layout::kFile;
    case kIdMap: return layout::kMap;
    case kIdDeleted: return layout::kDeleted;
    case kIdMsg: return layout::kMsg;
    case kIdErase: return layout::kErase;
    case kIdProgress: return layout::kProgress;
    default: return layout::kClient;
  }
}

int EraseWindow::Px(int iTwips) const { return ::MulDiv(iTwips, static_cast<int>(m_iDpi), kTwipsPerInch); }

void EraseWindow::MakeFonts() {
  // The system's message font at this DPI; the progress caption in the same family, 13.5 pt bold.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, m_iDpi);
  LOGFONTW progress = metrics.lfMessageFont;
  progress.lfHeight = -::MulDiv(135, static_cast<int>(m_iDpi), 720);
  progress.lfWeight = FW_BOLD;
  ::DeleteObject(m_hFont);
  ::DeleteObject(m_hProgressFont);
  m_hFont = ::CreateFontIndirectW(&metrics.lfMessageFont);
  m_hProgressFont = ::CreateFontIndirectW(&progress);
}

void EraseWindow::Layout() {
  MakeFonts();
  RECT frame{0, 0, Px(layout::kClient.iWidth), Px(layout::kClient.iHeight)};
  ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, m_iDpi);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const HWND h : {m_hTimes, m_hSpec, m_hInfo, m_hFile, m_hMap, m_hDeleted, m_hMsg, m_hErase, m_hProgress}) {
    const layout::Twips design = Design(::GetDlgCtrlID(h));
    const int iTop = h == m_hProgress ? m_iProgressTop : design.iTop;
    ::SetWindowPos(h, nullptr, Px(design.iLeft), Px(iTop), Px(design.iWidth), Px(design.iHeight),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(h == m_hProgress ? m_hProgressFont : m_hFont), TRUE);
  }
  // A label may grow to hold its text in this font, never clip it; the pass-count label stops
  // where the pass-count box begins, since its design width runs under that box.
  for (size_t i = 0; i < m_labels.size(); ++i) {
    const layout::Label& design = layout::kLabels[i];
    ::SendMessageW(m_labels[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
    const int iPixels = std::max(Px(design.place.iWidth), TextWidth(m_labels[i], m_hFont, win32::Widen(design.pText)) + 2);
    ::SetWindowPos(m_labels[i], nullptr, Px(design.place.iLeft), Px(design.place.iTop),
                   std::min(iPixels, Px(design.iRightLimit - design.place.iLeft)), Px(design.place.iHeight),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

EraseWindow::~EraseWindow() {
  if (m_pTaskbar != nullptr) m_pTaskbar->Release();
  if (m_bComStarted) ::CoUninitialize();
  if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  ::DeleteObject(m_hFont);
  ::DeleteObject(m_hProgressFont);
}

void EraseWindow::CreateControls() {
  const HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
  const auto make = [&](const wchar_t* pClass, const wchar_t* pText, DWORD lStyle, DWORD lExStyle, int iId) {
    return ::CreateWindowExW(lExStyle, pClass, pText, WS_CHILD | WS_VISIBLE | lStyle, 0, 0, 0, 0, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(iId)), hInstance, nullptr);
  };
  const auto label = [&](size_t i) {
    m_labels.push_back(make(L"STATIC", win32::Widen(layout::kLabels[i].pText).c_str(), SS_LEFT, 0, -1));
  };
  const DWORD lEdit = WS_TABSTOP | ES_AUTOHSCROLL;
  label(0);
  m_hTimes = make(L"EDIT", L"5", lEdit, WS_EX_CLIENTEDGE, kIdTimes);
  label(1);
  label(2);
  m_hSpec = make(L"EDIT", L"*.*", lEdit, WS_EX_CLIENTEDGE, kIdSpec);
  m_hInfo = make(L"BUTTON", L"&Read me ...", WS_TABSTOP | BS_PUSHBUTTON, 0, kIdInfo);
  m_hFile = make(L"BUTTON", L"Select &file ...", WS_TABSTOP | BS_PUSHBUTTON, 0, kIdFile);
  m_hMap = make(L"BUTTON", L"Select &map ...", WS_TABSTOP | BS_PUSHBUTTON, 0, kIdMap);
  m_hDeleted = make(L"BUTTON", L"Select &deleted ...", WS_TABSTOP | BS_PUSHBUTTON, 0, kIdDeleted);
  m_hMsg = make(L"EDIT", L"",
                WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE, kIdMsg);
  m_hErase = make(L"BUTTON", L"&Erase ...", WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, 0, kIdErase);
  // The progress caption lies under the foot of the erase button, as a windowless label does:
  // last in the z-order, and clipped by the button, whose frame is drawn whole.
  m_hProgress = make(L"STATIC", L"", SS_LEFT | WS_CLIPSIBLINGS, 0, kIdProgress);
  ::SetWindowPos(m_hProgress, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SendMessageW(m_hTimes, EM_LIMITTEXT, 2, 0);
  ::SendMessageW(m_hSpec, EM_LIMITTEXT, 25, 0);
  ::SendMessageW(m_hMsg, EM_LIMITTEXT, 0, 0);
}

void EraseWindow::ShowCentred() {
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT frame{};
  ::GetWindowRect(m_hWnd, &frame);
  const int iWidth = frame.right - frame.left;
  const int iHeight = frame.bottom - frame.top;
  ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - iWidth) / 2,
                 area.top + (area.bottom - area.top - iHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  ::UpdateWindow(m_hWnd);
}

void EraseWindow::BringToFront() {
  if (::IsIconic(m_hWnd) != 0) ::ShowWindow(m_hWnd, SW_RESTORE);
  ::SetForegroundWindow(m_hWnd);
}

int EraseWindow::Run() {
  MSG msg{};
  for (;;) {
    ShowPendingLines();
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    Dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

void EraseWindow::Dispatch(MSG& msg) {
  const bool bOurs = msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd) != 0;
  if (bOurs && m_pForm != nullptr) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      int16_t iKeyAscii = FrmErase::kKeyEscape;
      m_pForm->Form_KeyPress(iKeyAscii);
      return;
    }
    if (msg.message == WM_CHAR) {
      int16_t iKeyAscii = static_cast<int16_t>(msg.wParam < 0x7F ? msg.wParam : '?');
      m_pForm->Form_KeyPress(iKeyAscii);
      if (msg.hwnd == m_hTimes) m_pForm->txtTimes_KeyPress(iKeyAscii);
      if (iKeyAscii == 0) return;
    }
    // The pass count takes digits only: no context menu to paste through.
    if (msg.hwnd == m_hTimes && (msg.message == WM_RBUTTONDOWN || msg.message == WM_RBUTTONUP)) return;
  }
  if (!bOurs || ::IsDialogMessageW(m_hWnd, &msg) == 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // After the key has reached the pass count, whichever way it went there.
  if (msg.message == WM_KEYUP && msg.hwnd == m_hTimes && m_pForm != nullptr) m_pForm->txtTimes_KeyUp();
}

LRESULT CALLBACK EraseWindow::WindowProc(HWND hWnd, UINT lMessage, WPARAM wParam, LPARAM lParam) {
  if (lMessage == WM_NCCREATE) {
    auto* pWindow = static_cast<EraseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    pWindow->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWindow));
  }
  auto* pWindow = reinterpret_cast<EraseWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  return pWindow != nullptr ? pWindow->Handle(lMessage, wParam, lParam)
                            : ::DefWindowProcW(hWnd, lMessage, wParam, lParam);
}

LRESULT EraseWindow::Handle(UINT lMessage, WPARAM wParam, LPARAM lParam) {
  switch (lMessage) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Command(LOWORD(wParam));
      return 0;
    case WM_NEXTDLGCTL: {
      // A multi-line edit asks for the next control this way when Tab is pressed in it.
      const HWND hNext = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                              : ::GetNextDlgTabItem(m_hWnd, ::GetFocus(), wParam != 0);
      if (hNext != nullptr) ::SetFocus(hNext);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == m_hMsg) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_SETCURSOR:
      if (m_bBusy) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DROPFILES: {
      // Files and folders dropped on the window; the logic takes nothing during a run.
      const auto hDrop = reinterpret_cast<HDROP>(wParam);
      std::vector<std::string> asPaths;
      const UINT lCount = ::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < lCount; ++i) {
        std::wstring sPath(::DragQueryFileW(hDrop, i, nullptr, 0) + 1, L'\0');
        sPath.resize(::DragQueryFileW(hDrop, i, sPath.data(), static_cast<UINT>(sPath.size())));
        asPaths.push_back(win32::Narrow(sPath));
      }
      ::DragFinish(hDrop);
      if (m_pForm != nullptr) m_pForm->TakeTargets(asPaths);
      return 0;
    }
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: fonts and places anew, at the place Windows suggests.
      m_iDpi = HIWORD(wParam);
      Layout();
      const auto* pSuggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (m_pForm != nullptr && !m_pForm->Form_QueryUnload()) return 0;
      ::DestroyWindow(m_hWnd);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(m_hWnd, lMessage, wParam, lParam);
}

void EraseWindow::Command(int iId) {
  if (m_pForm == nullptr) return;
  switch (iId) {
    case kIdInfo:
      m_pForm->btnInfo_Click();
      break;
    case kIdFile:
      m_pForm->btnFile_Click();
      break;
    case kIdMap:
      m_pForm->btnMap_Click();
      break;
    case kIdDeleted:
      m_pForm->btnDeleted_Click();
      break;
    case kIdErase:
      m_pForm->btnErase_Click();
      if (m_pForm->CloseRequested()) ::DestroyWindow(m_hWnd);
      break;
    default:
      break;
  }
}

void EraseWindow::SetCaption(const std::string& sCaption) { ::SetWindowTextW(m_hWnd, win32::Widen(sCaption).c_str()); }

std::string EraseWindow::TimesText() const { return TextOf(m_hTimes); }

void EraseWindow::SetTimesText(const std::string& sText) { ::SetWindowTextW(m_hTimes, win32::Widen(sText).c_str()); }

std::string EraseWindow::SpecText() const { return TextOf(m_hSpec); }

std::string EraseWindow::EraseCaption() const { return TextOf(m_hErase); }

void EraseWindow::SetEraseButtonCaption(const std::string& sCaption) {
  ::SetWindowTextW(m_hErase, win32::Widen(sCaption).c_str());
}

bool EraseWindow::EraseEnabled() const { return ::IsWindowEnabled(m_hErase) != 0; }

void EraseWindow::SetEraseEnabled(bool bEnabled) { ::EnableWindow(m_hErase, bEnabled ? TRUE : FALSE); }

void EraseWindow::SetSelectEnabled(bool bEnabled) {
  ::EnableWindow(m_hInfo, bEnabled ? TRUE : FALSE);
  ::EnableWindow(m_hFile, bEnabled ? TRUE : FALSE);
  ::EnableWindow(m_hMap, bEnabled ? TRUE : FALSE);
  ::EnableWindow(m_hDeleted, bEnabled ? TRUE : FALSE);
}

void EraseWindow::SetFocus(Control control) { ::SetFocus(control == Control::kBtnErase ? m_hErase : m_hFile); }

void EraseWindow::ClearMessages() {
  m_sPendingLines.clear();
  ::SetWindowTextW(m_hMsg, L"");
}

void EraseWindow::PrependMessage(const std::string& sMsg) {
  m_sPendingLines = win32::Widen(sMsg) + (m_sPendingLines.empty() ? L"" : L"\r\n") + m_sPendingLines;
}

void EraseWindow::ShowPendingLines() {
  if (m_sPendingLines.empty()) return;
  if (::GetWindowTextLengthW(m_hMsg) > 0) m_sPendingLines += L"\r\n";
  ::SendMessageW(m_hMsg, EM_SETSEL, 0, 0);
  ::SendMessageW(m_hMsg, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(m_sPendingLines.c_str()));
  m_sPendingLines.clear();
}

void EraseWindow::AppendMessageText(const std::string& sText) {
  ShowPendingLines();
  const int iEnd = ::GetWindowTextLengthW(m_hMsg);
  ::SendMessageW(m_hMsg, EM_SETSEL, static_cast<WPARAM>(iEnd), iEnd);
  ::SendMessageW(m_hMsg, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(win32::Widen(sText).c_str()));
}

void EraseWindow::SetProgressCaption(const std::string& sCaption) {
  ::SetWindowTextW(m_hProgress, win32::Widen(sCaption).c_str());
}

void EraseWindow::SetProgressTop(int iTwips) {
  m_iProgressTop = iTwips;
  ::SetWindowPos(m_hProgress, nullptr, Px(layout::kProgress.iLeft), Px(iTwips), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void EraseWindow::SetBusyPointer(bool bBusy) {
  m_bBusy = bBusy;
  ::SetCursor(::LoadCursorW(nullptr, bBusy ? IDC_WAIT : IDC_ARROW));
}

void EraseWindow::SetTaskProgress(int iPercent) {
  if (m_pTaskbar == nullptr) {
    if (!m_bComStarted) m_bComStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                  reinterpret_cast<void**>(&m_pTaskbar))) ||
        FAILED(m_pTaskbar->HrInit())) {
      if (m_pTaskbar != nullptr) m_pTaskbar->Release();
      m_pTaskbar = nullptr;
      return;
    }
  }
  if (iPercent < 0) {
    m_pTaskbar->SetProgressState(m_hWnd, TBPF_NOPROGRESS);
  } else {
    m_pTaskbar->SetProgressValue(m_hWnd, static_cast<ULONGLONG>(iPercent), 100);
  }
}

void EraseWindow::PumpEvents() {
  ShowPendingLines();
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

}  // namespace tarnwipe
