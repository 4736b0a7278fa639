// The places the program refuses to erase, in the one place both the command and the run ask.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/special_folders.h"

namespace tarnwipe {

// Why a target is refused, in the order the rules are tried.
enum class Refusal { kNone, kSystemFolder, kProgramsFolder, kRoot, kInvalidPath };

struct ProtectedFolders {
  std::vector<std::string> asSystem;    // each ending in the separator; an empty one protects all
  std::vector<std::string> asPrograms;  // each ending in the separator; an empty one protects all
};

// The first rule that holds for the target as written (sTarget) or as resolved (sCanonical).
Refusal CheckTarget(const std::string& sTarget, const std::string& sCanonical, const ProtectedFolders& folders);

// The notice shown for a refusal.
std::string RefusalNotice(Refusal eRefusal);

class Protection {
 public:
  Protection(const FileSystem& fs, const SpecialFolders& folders) : m_fs(fs), m_folders(folders) {}

  // The protection rules for a chosen target, with the special folders looked up anew.
  Refusal CheckTarget(const std::string& sTarget) const;

  // The rules for the folder held now, told by identity: a protected folder reached through any
  // other path (a bind mount, a junction, another alias that path text cannot see through), or
  // a folder in it, is refused as the folder itself would be. The system's root is refused when
  // it is the map itself (bMap); a single file in it is not.
  Refusal CheckHeld(bool bMap) const;

  // True when a folder of a walk is the program's own folder, or when that folder is unknown.
  bool IsApplicationFolder(const std::string& sFolderSpec) const;

 private:
  // The protected folders, looked up anew.
  ProtectedFolders Folders() const;

  const FileSystem& m_fs;
  const SpecialFolders& m_folders;
};

}  // namespace tarnwipe
