// The file layer on POSIX: exclusive overwriting, listings from readdir, attributes from lstat.
#pragma once

#include "platform/file_system.h"

namespace tarnwipe {

class PosixFileSystem : public FileSystem {
 public:
  int32_t GetAttributes(const std::string& sPath) const override;
  int64_t FileLength(const std::string& sPath) const override;
  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveFile(const std::string& sPath) override;
  std::error_code RemoveFolder(const std::string& sPath) override;
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override;
  bool CanReadFolder(const std::string& sFolder) const override;
  std::string CanonicalPath(const std::string& sPath) const override;
  std::string ReadText(const std::string& sPath) const override;
};

}  // namespace tarnwipe
