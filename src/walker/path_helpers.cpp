// Path helpers. Positions follow the rule "after the last separator"; nothing here touches a file.
#include "walker/path_helpers.h"

namespace tarnwipe::paths {

bool IsFolder(const FileSystem& fs, const std::string& sPath) {
  const int32_t lAttributes = fs.GetAttributes(sPath);
  return lAttributes != -1 && (lAttributes & kAttrDirectory) != 0;
}

std::string QualifyFolder(const FileSystem& fs, const std::string& sPath) {
  if (IsFolder(fs, sPath) && sPath.back() != kSeparator) return sPath + kSeparator;
  return sPath;
}

std::string ExtractFolder(const FileSystem& fs, const std::string& sSpecIn) {
  if (!IsFolder(fs, sSpecIn)) return {};
  std::string sFolder = sSpecIn;
  while (sFolder.size() > 1 && sFolder.back() == kSeparator) sFolder.pop_back();
  if (sFolder == std::string(1, kSeparator)) return sFolder;  // the root names itself
  const auto p = sFolder.rfind(kSeparator);
  return p == std::string::npos ? sFolder : sFolder.substr(p + 1);
}

std::string ExtractName(const FileSystem& fs, const std::string& sSpecIn, bool bBaseOnly) {
  if (IsFolder(fs, sSpecIn)) return {};
  const auto p = sSpecIn.rfind(kSeparator);
  std::string sName = (p == std::string::npos || p + 1 == sSpecIn.size()) ? sSpecIn : sSpecIn.substr(p + 1);
  if (bBaseOnly) {
    const auto q = sName.rfind('.');
    if (q != std::string::npos && q + 1 < sName.size()) sName.resize(q);
  }
  return sName;
}

std::string ExtractPath(const FileSystem& fs, const std::string& sSpecIn) {
  if (IsFolder(fs, sSpecIn)) return QualifyFolder(fs, sSpecIn);
  const auto p = sSpecIn.rfind(kSeparator);
  return p == std::string::npos ? std::string() : sSpecIn.substr(0, p + 1);
}

}  // namespace tarnwipe::paths
