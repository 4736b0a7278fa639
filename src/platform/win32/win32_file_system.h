// The file layer on Windows: a held map reached through folder handles, one name at a time,
// exclusive overwriting with share mode 0, listings and attributes from the open handles.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "paths/held_root.h"
#include "platform/win32/handle.h"

namespace tarnwipe {

class Win32FileSystem : public FileSystem {
 public:
  Win32FileSystem() = default;
  Win32FileSystem(const Win32FileSystem&) = delete;
  Win32FileSystem& operator=(const Win32FileSystem&) = delete;
  ~Win32FileSystem() override;

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
  // Opens the entry sPath itself (a reparse point is opened as such). Below the held map every
  // folder on the way is opened from the one before it by name, and must be a plain folder on
  // the map's volume, held without delete sharing while the next one opens; a path outside the
  // map is refused. Without a held map the path is opened as it stands. pParent, when given,
  // receives a handle on the folder the entry was opened in (below a held map only).
  std::error_code Open(const std::string& sPath, ACCESS_MASK access, ULONG lShare, ULONG lOptions,
                       win32::Handle& h, win32::Handle* pParent = nullptr) const;

  win32::Handle m_root;
  HeldRoot m_held;
  DWORD m_lVolume = 0;  // serial number of the map's volume
};

}  // namespace tarnwipe
