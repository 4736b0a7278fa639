// Path text rules of POSIX systems.
#include "platform/paths.h"

namespace tarnwipe::paths {

bool IsRoot(const std::string& sPath) { return sPath == std::string(1, kSeparator); }

bool IsAbsolute(const std::string& sPath) { return !sPath.empty() && sPath[0] == kSeparator; }

std::string WithoutSeparator(std::string sPath) {
  while (sPath.size() > 1 && sPath.back() == kSeparator) sPath.pop_back();
  return sPath;
}

std::string WithSeparator(std::string sPath) {
  if (!sPath.empty() && sPath.back() != kSeparator) sPath += kSeparator;
  return sPath;
}

std::string AsFolder(const std::string& sPath) { return WithSeparator(WithoutSeparator(sPath)); }

std::string LastName(const std::string& sPath) {
  const std::string sTrimmed = WithoutSeparator(sPath);
  if (IsRoot(sTrimmed)) return sTrimmed;
  const auto p = sTrimmed.rfind(kSeparator);
  return p == std::string::npos ? sTrimmed : sTrimmed.substr(p + 1);
}

std::string FolderPart(const std::string& sPath) {
  const auto p = sPath.rfind(kSeparator);
  return p == std::string::npos ? std::string() : sPath.substr(0, p + 1);
}

bool LiesIn(const std::string& sPath, const std::string& sFolder) {
  return (sPath + kSeparator).rfind(sFolder, 0) == 0;
}

}  // namespace tarnwipe::paths
