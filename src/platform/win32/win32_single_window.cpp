// One window per session on Windows: a session-wide mutex tells whether a window is open, and a
// message-only window of its own takes the hand-offs as WM_COPYDATA.
#include "platform/single_window.h"

#include <windows.h>

#include <deque>

#include "platform/win32/wide_text.h"

namespace tarnwipe {
namespace {

constexpr wchar_t kMutexName[] = L"Local\\Tarnwipe-one-window";
constexpr wchar_t kReceiverClass[] = L"TarnwipeHandOff";
// Marks a WM_COPYDATA as a hand-off of targets.
constexpr ULONG_PTR kHandOff = 0x54574831;
constexpr UINT kHandle = WM_APP + 1;
constexpr DWORD kPollMilliseconds = 50;

// The targets as they travel: UTF-16 paths, each ended by a NUL.
std::wstring Encoded(const std::vector<std::string>& asTargets) {
  std::wstring sData;
  for (const std::string& sTarget : asTargets) sData += win32::Widen(sTarget) + L'\0';
  return sData;
}

std::vector<std::string> Decoded(const wchar_t* pData, size_t lChars) {
  std::vector<std::string> asTargets;
  for (size_t lStart = 0; lStart < lChars;) {
    const std::wstring sTarget(pData + lStart);
    asTargets.push_back(win32::Narrow(sTarget));
    lStart += sTarget.size() + 1;
  }
  return asTargets;
}

}  // namespace

struct SingleWindow::Impl {
  HANDLE hMutex = nullptr;
  bool bFirst = false;
  HWND hReceiver = nullptr;
  std::function<void(const std::vector<std::string>&)> onTargets;
  std::deque<std::vector<std::string>> pending;

  static LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT lMessage, WPARAM wParam, LPARAM lParam) {
    auto* pImpl = reinterpret_cast<Impl*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pImpl != nullptr && lMessage == WM_COPYDATA) {
      const auto* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (pCopy->dwData != kHandOff) return FALSE;
      // Taken at once, handled once the window is free: a notice about them must not keep the
      // other start waiting.
      pImpl->pending.push_back(Decoded(static_cast<const wchar_t*>(pCopy->lpData), pCopy->cbData / sizeof(wchar_t)));
      ::PostMessageW(hWnd, kHandle, 0, 0);
      return TRUE;
    }
    if (pImpl != nullptr && lMessage == kHandle && !pImpl->pending.empty()) {
      const std::vector<std::string> asTargets = std::move(pImpl->pending.front());
      pImpl->pending.pop_front();
      pImpl->onTargets(asTargets);
      return 0;
    }
    return ::DefWindowProcW(hWnd, lMessage, wParam, lParam);
  }
};

SingleWindow::SingleWindow() : m_pImpl(std::make_unique<Impl>()) {}

SingleWindow::~SingleWindow() {
  if (m_pImpl->hReceiver != nullptr) ::DestroyWindow(m_pImpl->hReceiver);
  if (m_pImpl->hMutex != nullptr) ::CloseHandle(m_pImpl->hMutex);
}

bool SingleWindow::HandToOpenWindow(const std::vector<std::string>& asTargets) {
  m_pImpl->hMutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
  m_pImpl->bFirst = m_pImpl->hMutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
  if (m_pImpl->bFirst) return false;
  // The first start may still be making its window.
  HWND hReceiver = nullptr;
  for (DWORD lWaited = 0; hReceiver == nullptr && lWaited < kAnswerMilliseconds; lWaited += kPollMilliseconds) {
    hReceiver = ::FindWindowExW(HWND_MESSAGE, nullptr, kReceiverClass, nullptr);
    if (hReceiver == nullptr) ::Sleep(kPollMilliseconds);
  }
  if (hReceiver == nullptr) return false;
  DWORD lProcess = 0;
  ::GetWindowThreadProcessId(hReceiver, &lProcess);
  ::AllowSetForegroundWindow(lProcess);
  const std::wstring sData = Encoded(asTargets);
  COPYDATASTRUCT copy{kHandOff, static_cast<DWORD>(sData.size() * sizeof(wchar_t)), const_cast<wchar_t*>(sData.data())};
  DWORD_PTR lTaken = FALSE;
  return ::SendMessageTimeoutW(hReceiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG,
                               kAnswerMilliseconds, &lTaken) != 0 &&
         lTaken == TRUE;
}

void SingleWindow::Receive(std::function<void(const std::vector<std::string>&)> onTargets) {
  if (!m_pImpl->bFirst) return;
  m_pImpl->onTargets = std::move(onTargets);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Impl::ReceiverProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kReceiverClass;
  ::RegisterClassExW(&windowClass);
  m_pImpl->hReceiver = ::CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         windowClass.hInstance, nullptr);
  ::SetWindowLongPtrW(m_pImpl->hReceiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pImpl.get()));
}

}  // namespace tarnwipe
