// Path helpers. Positions follow the rule "after the last separator"; only IsFolder asks the disk.
#include "paths/disk_paths.h"

namespace tarnwipe::paths {

bool IsFolder(const FileSystem& fs, const std::string& sPath) {
  const int32_t lAttributes = fs.GetAttributes(sPath);
  return lAttributes != -1 && (lAttributes & kAttrDirectory) != 0;
}

std::string QualifyFolder(const FileSystem& fs, const std::string& sPath) {
  return IsFolder(fs, sPath) ? WithSeparator(sPath) : sPath;
}

std::string ExtractFolder(const FileSystem& fs, const std::string& sSpecIn) {
  return IsFolder(fs, sSpecIn) ? LastName(sSpecIn) : std::string();
}

std::string ExtractName(const FileSystem& fs, const std::string& sSpecIn) {
  if (IsFolder(fs, sSpecIn)) return {};
  const auto p = sSpecIn.rfind(Separator());
  return (p == std::string::npos || p + 1 == sSpecIn.size()) ? sSpecIn : sSpecIn.substr(p + 1);
}

std::string ExtractPath(const FileSystem& fs, const std::string& sSpecIn) {
  return IsFolder(fs, sSpecIn) ? WithSeparator(sSpecIn) : FolderPart(sSpecIn);
}

}  // namespace tarnwipe::paths
