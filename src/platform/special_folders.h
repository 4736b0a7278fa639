// Where the running system keeps what must never be erased, and where the user's things are.
#pragma once

#include <string>
#include <vector>

namespace tarnwipe {

// Where this user's trashed items may lie, as the system lays its Trash out.
struct TrashFacts {
  bool bRecycleBin = false;         // Windows' Recycle Bin; otherwise the freedesktop.org Trash
  std::string sUser;                // the user's number (uid), or on Windows the user's SID
  std::string sHomeTrash;           // the home Trash ($XDG_DATA_HOME/Trash/); none on Windows
  std::vector<std::string> asTops;  // the top folder of every mounted file system, ending in the separator
};

class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;

  // The operating system's own folders, each ending in the separator.
  virtual std::vector<std::string> SystemFolders() const = 0;

  // The folders installed programs live in, each ending in the separator; an empty entry when
  // one is unknown. Windows has two, for 64-bit and for 32-bit programs.
  virtual std::vector<std::string> ProgramsFolders() const = 0;

  // The user's documents folder, ending in the separator; empty when unknown.
  virtual std::string DocumentsFolder() const = 0;

  // The folder of the running executable, without a trailing separator; empty when unknown.
  virtual std::string ExecutableFolder() const = 0;

  virtual TrashFacts Trash() const = 0;

  // True when sFolder is a folder itself, no link, and this user's (bOwn) or with the sticky bit
  // (else), as a Trash folder shared by all users must have.
  virtual bool IsTrashFolder(const std::string& sFolder, bool bOwn) const = 0;

  // Tells the desktop that the Trash folder sFolder changed, so that its icon shows it.
  virtual void TrashChanged(const std::string& sFolder) const = 0;
};

}  // namespace tarnwipe
