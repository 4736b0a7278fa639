// Protection rules. A rule holds when it holds for the path as chosen or as resolved, so a
// link cannot lead around it.
#include "runs/protection.h"

#include <algorithm>

#include "paths/path_text.h"
#include "runs/spec_folders.h"

namespace tarnwipe {
namespace {

bool LiesInAny(const std::string& sTarget, const std::string& sCanonical, const std::vector<std::string>& asFolders) {
  for (const std::string& sFolder : asFolders) {
    if (paths::LiesIn(sTarget, sFolder) || paths::LiesIn(sCanonical, sFolder)) return true;
  }
  return false;
}

// The root of the drive that holds the system; on POSIX the one root there is.
bool IsSystemRoot(const std::string& sPath, const ProtectedFolders& folders) {
  return paths::IsRoot(sPath) && paths::LiesIn(sPath, paths::RootOf(folders.asSystem.front()));
}

}  // namespace

Refusal CheckTarget(const std::string& sTarget, const std::string& sCanonical, const ProtectedFolders& folders) {
  if (folders.asSystem.empty() || LiesInAny(sTarget, sCanonical, folders.asSystem)) return Refusal::kSystemFolder;
  if (folders.asPrograms.empty() || LiesInAny(sTarget, sCanonical, folders.asPrograms)) return Refusal::kProgramsFolder;
  if (IsSystemRoot(sTarget, folders) || IsSystemRoot(sCanonical, folders)) return Refusal::kRoot;
  if (!paths::IsAbsolute(sTarget)) return Refusal::kInvalidPath;
  return Refusal::kNone;
}

// Windows names its own folders in the notices; elsewhere they speak of the system's.
std::string RefusalNotice(Refusal eRefusal) {
  switch (eRefusal) {
#ifdef _WIN32
    case Refusal::kSystemFolder:
      return "Erasing files Windows map is blocked!";
    case Refusal::kProgramsFolder:
      return "Erasing files Program Files map is blocked!";
    case Refusal::kRoot:
      return "Erasing files from root Windows drive is blocked!";
#else
    case Refusal::kSystemFolder:
      return "Erasing files system map is blocked!";
    case Refusal::kProgramsFolder:
      return "Erasing files programs map is blocked!";
    case Refusal::kRoot:
      return "Erasing files from root system drive is blocked!";
#endif
    case Refusal::kInvalidPath:
      return "Invalid path!";
    case Refusal::kNone:
      break;
  }
  return {};
}

ProtectedFolders Protection::Folders() const {
  return {GetWindowsFolder(m_folders), GetProgramFilesFolders(m_folders)};
}

Refusal Protection::CheckTarget(const std::string& sTarget) const {
  const ProtectedFolders folders = Folders();
  return tarnwipe::CheckTarget(sTarget, m_fs.CanonicalPath(sTarget), folders);
}

Refusal Protection::CheckHeld(bool bMap) const {
  const ProtectedFolders folders = Folders();
  const auto heldIn = [&](const std::vector<std::string>& asFolders) {
    return std::any_of(asFolders.begin(), asFolders.end(), [&](const std::string& s) { return m_fs.HeldDepthIn(s) >= 0; });
  };
  if (heldIn(folders.asSystem)) return Refusal::kSystemFolder;
  if (heldIn(folders.asPrograms)) return Refusal::kProgramsFolder;
  if (bMap && !folders.asSystem.empty() && m_fs.HeldDepthIn(paths::RootOf(folders.asSystem.front())) == 0)
    return Refusal::kRoot;
  return Refusal::kNone;
}

bool Protection::IsApplicationFolder(const std::string& sFolderSpec) const {
  const std::string sApplication = GetApplicationFolder(m_folders);
  if (sApplication.empty()) return true;
  return sFolderSpec == sApplication || m_fs.CanonicalPath(sFolderSpec) == m_fs.CanonicalPath(sApplication);
}

}  // namespace tarnwipe
