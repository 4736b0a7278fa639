// Small text operations on paths that come from the platform.
#pragma once

#include <string>

namespace tarnwipe {

// Cuts the text before its first NUL character; the caller's text is cut too.
std::string TrimNull(std::string& sText);

// Appends one separator to a non-empty text that does not end in one; the caller's text too.
std::string AddBackslash(std::string& sText);

}  // namespace tarnwipe
