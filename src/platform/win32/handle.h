// A Win32 handle that closes itself.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"

namespace tarnwipe::win32 {

class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h == nullptr ? INVALID_HANDLE_VALUE : h) {}
  Handle(Handle&& other) noexcept : m_h(std::exchange(other.m_h, INVALID_HANDLE_VALUE)) {}
  Handle& operator=(Handle&& other) noexcept {
    Reset(std::exchange(other.m_h, INVALID_HANDLE_VALUE));
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Reset(); }

  HANDLE Get() const { return m_h; }
  bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    if (IsOpen()) ::CloseHandle(m_h);
    m_h = h == nullptr ? INVALID_HANDLE_VALUE : h;
  }
  // Closes now and tells whether the close succeeded.
  bool Close() {
    const HANDLE h = std::exchange(m_h, INVALID_HANDLE_VALUE);
    return h == INVALID_HANDLE_VALUE || ::CloseHandle(h) != 0;
  }

 private:
  HANDLE m_h;
};

// The full path of what the handle is open on, links resolved, without the "\\?\" prefix;
// empty when it cannot be told.
inline std::string FinalPath(HANDLE h) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), 32768, VOLUME_NAME_DOS);
  if (n == 0 || n >= 32768) return {};
  const std::string sFinal = Narrow(std::wstring(buffer.data(), n));
  if (sFinal.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + sFinal.substr(7);  // a share: \\server\share\...
  return sFinal.rfind("\\\\?\\", 0) == 0 ? sFinal.substr(4) : sFinal;
}

}  // namespace tarnwipe::win32
