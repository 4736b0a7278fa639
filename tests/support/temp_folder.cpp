// Temporary folders, removed with everything left in them.
#include "temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tarnwipe::test {

TempFolder::TempFolder() {
  const char* pBase = std::getenv("TMPDIR");
  std::string sTemplate = std::string(pBase != nullptr ? pBase : "/tmp") + "/tarnwipe-test-XXXXXX";
  if (::mkdtemp(sTemplate.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_sPath = sTemplate + "/";
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Permissions a test took away must not keep its leftovers from going.
  for (auto it = std::filesystem::recursive_directory_iterator(m_sPath, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
  }
  std::filesystem::remove_all(m_sPath, ec);
}

std::string TempFolder::Write(const std::string& sRelative, const std::string& sContent) const {
  const std::string sPath = m_sPath + sRelative;
  std::filesystem::create_directories(std::filesystem::path(sPath).parent_path());
  std::ofstream(sPath, std::ios::binary) << sContent;
  return sPath;
}

std::string TempFolder::MakeFolder(const std::string& sRelative) const {
  std::filesystem::create_directories(m_sPath + sRelative);
  return m_sPath + sRelative + (sRelative.empty() || sRelative.back() == '/' ? "" : "/");
}

std::string ReadFile(const std::string& sPath) {
  std::ifstream in(sPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& sPath) {
  struct stat st {};
  return ::lstat(sPath.c_str(), &st) == 0;
}

}  // namespace tarnwipe::test
