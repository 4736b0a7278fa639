// A Win32 handle that closes itself.
#pragma once

#include <windows.h>

#include <utility>

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

}  // namespace tarnwipe::win32
