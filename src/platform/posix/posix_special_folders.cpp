// System folders by the file-system hierarchy, documents by the XDG user-dirs settings.
#include "platform/posix/posix_special_folders.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "paths/path_text.h"
#include "platform/posix/mount_table.h"

namespace tarnwipe {
namespace {

bool IsDirectory(const std::string& sPath) {
  struct stat st {};
  return !sPath.empty() && ::stat(sPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs, with $HOME expanded; empty when not set.
std::string XdgDocuments(const std::string& sHome) {
  const char* pConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string sConfig = (pConfig != nullptr && *pConfig != '\0') ? pConfig : sHome + "/.config";
  std::ifstream in(sConfig + "/user-dirs.dirs");
  std::string sLine;
  const std::string sKey = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, sLine)) {
    if (sLine.rfind(sKey, 0) != 0) continue;
    std::string sValue = sLine.substr(sKey.size());
    if (sValue.size() >= 2 && sValue.front() == '"' && sValue.back() == '"') sValue = sValue.substr(1, sValue.size() - 2);
    if (sValue.rfind("$HOME", 0) == 0) sValue = sHome + sValue.substr(5);
    return sValue;
  }
  return {};
}

}  // namespace

std::vector<std::string> PosixSpecialFolders::SystemFolders() const {
  return {"/bin/", "/boot/", "/dev/", "/etc/", "/lib/", "/lib32/", "/lib64/", "/libx32/",
          "/proc/", "/run/", "/sbin/", "/sys/", "/usr/", "/var/"};
}

std::vector<std::string> PosixSpecialFolders::ProgramsFolders() const { return {"/opt/"}; }

std::string PosixSpecialFolders::DocumentsFolder() const {
  const char* pHome = std::getenv("HOME");
  if (pHome == nullptr || *pHome == '\0') return {};
  const std::string sHome = pHome;
  const std::string sXdg = XdgDocuments(sHome);
  if (IsDirectory(sXdg)) return paths::WithSeparator(sXdg);
  if (IsDirectory(sHome + "/Documents")) return sHome + "/Documents/";
  return IsDirectory(sHome) ? paths::WithSeparator(sHome) : std::string();
}

std::string PosixSpecialFolders::ExecutableFolder() const {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  const std::string sExe(buffer, static_cast<size_t>(n));
  return paths::WithoutSeparator(paths::FolderPart(sExe));
}

TrashFacts PosixSpecialFolders::Trash() const {
  TrashFacts facts;
  facts.sUser = std::to_string(::getuid());
  const char* pData = std::getenv("XDG_DATA_HOME");
  const char* pHome = std::getenv("HOME");
  if (pData != nullptr && *pData == '/') {
    facts.sHomeTrash = paths::WithSeparator(pData) + "Trash/";
  } else if (pHome != nullptr && *pHome == '/') {
    facts.sHomeTrash = paths::WithSeparator(pHome) + ".local/share/Trash/";
  }
  for (const Mount& mount : MountTable()) facts.asTops.push_back(mount.sTop);
  return facts;
}

bool PosixSpecialFolders::IsTrashFolder(const std::string& sFolder, bool bOwn) const {
  struct stat st {};
  if (::lstat(paths::WithoutSeparator(sFolder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return bOwn ? st.st_uid == ::getuid() : (st.st_mode & S_ISVTX) != 0;
}

}  // namespace tarnwipe
