// Paths and texts are UTF-8 in the logic and UTF-16 at every Win32 call.
#pragma once

#include <string>

namespace tarnwipe::win32 {

// UTF-8 to UTF-16; empty when the text is not valid UTF-8.
std::wstring Widen(const std::string& sText);

// UTF-16 to UTF-8.
std::string Narrow(const std::wstring& sText);

// A full path as the file calls take it: "\\?\" before a drive path, so that its length is not
// limited and no name in it is changed.
std::wstring LongPath(const std::string& sPath);

}  // namespace tarnwipe::win32
