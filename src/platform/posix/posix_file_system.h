// The file layer on POSIX: a held map reached through openat2, exclusive overwriting, listings
// from readdir, attributes from lstat.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "engine/freed_entries.h"
#include "paths/held_root.h"

struct stat;

namespace tarnwipe {

class PosixFileSystem : public FileSystem {
 public:
  PosixFileSystem() = default;
  PosixFileSystem(const PosixFileSystem&) = delete;
  PosixFileSystem& operator=(const PosixFileSystem&) = delete;
  ~PosixFileSystem() override;

  std::error_code Confine(const std::string& sRoot) override;
  void Unconfine() override;
  int HeldDepthIn(const std::string& sFolder) const override;
  int32_t GetAttributes(const std::string& sPath) const override;
  int64_t FileLength(const std::string& sPath) const override;
  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveLink(const std::string& sPath) override;
  std::error_code RemoveFolder(const std::string& sPath) override;
  bool FolderNameLeft() const override { return m_bFolderNameLeft; }
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override;
  FolderAccess ProbeFolder(const std::string& sFolder) const override;
  std::string FileSystemKeepingCopies(const std::string& sPath) const override;
  std::string CanonicalPath(const std::string& sPath) const override;

 private:
  friend class PosixExclusiveFile;

  // The folder that holds sPath, opened as a path handle, and the entry's name in it. Below a
  // held map the folder is reached from the map without following links or crossing mounts.
  std::error_code Locate(const std::string& sPath, int& iFolderFd, std::string& sName) const;
  // lstat of the entry sPath, below the held map when one is held; false when it cannot be read.
  bool LStat(const std::string& sPath, struct stat& st) const;
  // The folder sPath itself, open for reading its entries, reached the same way.
  std::error_code OpenFolder(const std::string& sPath, int& iFolderFd) const;
  // Removes the held map itself, provided its name still leads to the folder held.
  std::error_code RemoveRoot();
  // Removes a file name whose entry must still be the inode (lDevice, lInode).
  // bNameLeft tells whether the name could not be renamed away first.
  std::error_code RemoveSameFile(const std::string& sPath, uint64_t lDevice, uint64_t lInode, bool& bNameLeft);
  // Notes that the entry sName went from the folder iFolderFd, so that the folder, once emptied,
  // has its entry area filled as far as its names reached; FreedUnits tells how far that is.
  void NoteFreed(int iFolderFd, const std::string& sName);
  size_t FreedUnits(int iDirFd) const;

  int m_iRootFd = -1;
  HeldRoot m_held;
  FreedEntries m_freed;  // what the names removed below the held map took up
  bool m_bFolderNameLeft = false;
};

}  // namespace tarnwipe
