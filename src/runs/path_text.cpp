// TrimNull and AddBackslash.
#include "runs/path_text.h"

#include "platform/paths.h"

namespace tarnwipe {

std::string TrimNull(std::string& sText) {
  const auto p = sText.find('\0');
  if (p != std::string::npos) sText.resize(p);
  return sText;
}

std::string AddBackslash(std::string& sText) {
  sText = paths::WithSeparator(sText);
  return sText;
}

}  // namespace tarnwipe
