// The file layer on POSIX: a held map reached through openat2, exclusive overwriting, listings
// from readdir, attributes from lstat.
#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/descriptor.h"
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
  std::string ReadStart(const std::string& sPath, size_t lMax) const override;
  std::error_code PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) override;
  std::error_code RemoveLink(const std::string& sPath) override;
  std::error_code HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) override;
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override;
  FolderAccess ProbeFolder(const std::string& sFolder) const override;
  std::string FileSystemKeepingCopies(const std::string& sPath) const override;
  std::string CanonicalPath(const std::string& sPath) const override;
  std::error_code SpaceOf(const std::string& sFolder, DiskSpace& space) const override;
  std::error_code MakeWorkFolder(const std::string& sPath) override;
  std::error_code CreateFiller(const std::string& sFolder, const std::string& sName, std::unique_ptr<Filler>& pFiller) override;
  std::error_code RemoveLeftover(const std::string& sPath) override;
  int64_t JournalLogged(const std::string& sFolder) const override;
  std::error_code CreateRewriter(const std::string& sFolder, const std::string& sPrefix, int iFiles,
                                 std::unique_ptr<RecordRewriter>& pRewriter) override;

 private:
  friend class PosixExclusiveFile;

  // The folder that holds sPath, opened as a path handle, and the entry's name in it. Below a
  // held map the folder is reached from the map without following links or crossing mounts.
  std::error_code Locate(const std::string& sPath, int& iFolderFd, std::string& sName) const;
  // lstat of the entry sPath, below the held map when one is held; false when it cannot be read.
  bool LStat(const std::string& sPath, struct stat& st) const;
  // The folder sPath itself, open for reading its entries, reached the same way.
  std::error_code OpenFolder(const std::string& sPath, int& iFolderFd) const;
  // Holds the held map itself in the folder above it, provided its name there still leads to
  // the folder held.
  std::error_code HoldRoot(std::unique_ptr<HeldFolder>& pFolder) const;
  // Holds the name sPath, provided it still leads to the file opened, as st tells.
  std::error_code HoldSameFile(const std::string& sPath, const struct stat& opened, std::unique_ptr<HeldName>& pName) const;

  int m_iRootFd = -1;
  HeldRoot m_held;
  std::map<std::string, Descriptor> m_workFolders;  // made by this program, locked until removed
};

}  // namespace tarnwipe
