// UTF-8 and UTF-16 through the system's converters.
#include "platform/win32/wide_text.h"

#include <windows.h>

#include "paths/path_text.h"

namespace tarnwipe::win32 {

std::wstring Widen(const std::string& sText) {
  if (sText.empty()) return {};
  const int nSize = static_cast<int>(sText.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, sText.data(), nSize, nullptr, 0);
  if (n <= 0) return {};
  std::wstring sWide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, sText.data(), nSize, sWide.data(), n);
  return sWide;
}

std::string Narrow(const std::wstring& sText) {
  if (sText.empty()) return {};
  const int nSize = static_cast<int>(sText.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, sText.data(), nSize, nullptr, 0, nullptr, nullptr);
  std::string sNarrow(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, sText.data(), nSize, sNarrow.data(), n, nullptr, nullptr);
  return sNarrow;
}

std::wstring LongPath(const std::string& sPath) {
  return paths::IsAbsolute(sPath) ? L"\\\\?\\" + Widen(sPath) : Widen(sPath);
}

}  // namespace tarnwipe::win32
