// TrimNull and AddBackslash.
#include "runs/path_text.h"

#include "walker/path_helpers.h"

namespace tarnwipe {

std::string TrimNull(std::string& sText) {
  const auto p = sText.find('\0');
  if (p != std::string::npos) sText.resize(p);
  return sText;
}

std::string AddBackslash(std::string& sText) {
  if (!sText.empty() && sText.back() != paths::kSeparator) sText += paths::kSeparator;
  return sText;
}

}  // namespace tarnwipe
