// Separators from the user's regional settings; the English ones where a setting is missing.
#include "platform/win32/win32_separators.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tarnwipe {
namespace {

std::string LocaleText(LCTYPE type, const char* pDefault) {
  wchar_t sValue[16] = {};
  const int n = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, sValue, 16);
  return n > 1 ? win32::Narrow(std::wstring(sValue, static_cast<size_t>(n - 1))) : pDefault;
}

}  // namespace

Separators SystemSeparators() { return {LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")}; }

}  // namespace tarnwipe
