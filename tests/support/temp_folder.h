// A fresh temporary folder per test, with small helpers to make and read files in it.
#pragma once

#include <string>

namespace tarnwipe::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in the separator.
  const std::string& Path() const { return m_sPath; }

  // Writes a file (and its folders) under the folder; returns its full path.
  std::string Write(const std::string& sRelative, const std::string& sContent) const;
  // Makes a folder (and its parents) under the folder; returns its path ending in the separator.
  std::string MakeFolder(const std::string& sRelative) const;

 private:
  std::string m_sPath;
};

std::string ReadFile(const std::string& sPath);
bool Exists(const std::string& sPath);

}  // namespace tarnwipe::test
