// A fresh temporary folder per test, removed with everything left in it, and small helpers to
// make and read files.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tarnwipe::test {

inline std::string ReadFile(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& sPath) {
  struct stat st {};
  return ::lstat(sPath.c_str(), &st) == 0;
}

class TempFolder {
 public:
  TempFolder() {
    std::string sTemplate = std::filesystem::temp_directory_path().string() + "/tarnwipe-test-XXXXXX";
    m_sPath = std::string(::mkdtemp(sTemplate.data())) + "/";
  }
  ~TempFolder() {
    std::error_code ec;
    // Permissions a test took away must not keep its leftovers from going.
    for (auto it = std::filesystem::recursive_directory_iterator(m_sPath, ec); it != decltype(it)(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
    }
    std::filesystem::remove_all(m_sPath, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the separator.
  const std::string& Path() const { return m_sPath; }
  // Writes a file (and its folders) below the folder; returns its full path.
  std::string Write(const std::string& sRelative, const std::string& sContent) const {
    std::filesystem::create_directories(std::filesystem::path(m_sPath + sRelative).parent_path());
    std::ofstream(m_sPath + sRelative, std::ios::binary) << sContent;
    return m_sPath + sRelative;
  }
  // Makes a folder (and its parents); returns its path ending in the separator.
  std::string MakeFolder(const std::string& sRelative) const {
    std::filesystem::create_directories(m_sPath + sRelative);
    return m_sPath + sRelative + (sRelative.ends_with('/') ? "" : "/");
  }

 private:
  std::string m_sPath;
};

}  // namespace tarnwipe::test
