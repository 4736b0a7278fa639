// The free-space side of the Win32 file layer: a disk's space from GetDiskFreeSpaceExW, and
// fillers opened to be deleted on close, so that the system removes them when the program ends,
// however it ends.
#include <windows.h>

#include "paths/path_text.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_errors.h"
#include "platform/win32/win32_file_system.h"

namespace tarnwipe {
namespace {

class Win32Filler : public Filler {
 public:
  explicit Win32Filler(win32::Handle h) : m_h(std::move(h)) {}

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(lOffset);
    at.OffsetHigh = static_cast<DWORD>(lOffset >> 32);
    DWORD lDone = 0;
    const bool bWritten = ::WriteFile(m_h.Get(), pData, static_cast<DWORD>(lSize), &lDone, &at) != 0;
    lWritten = lDone;
    return bWritten ? std::error_code() : LastWin32Error();
  }
  // Windows writes a file's cache behind on its own; the flush waits for the rest.
  std::error_code StartWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code WaitWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code Flush() override { return ::FlushFileBuffers(m_h.Get()) ? std::error_code() : LastWin32Error(); }
  // Committing a volume's records takes a flush of the whole volume, which only an administrator
  // may open; the fillers' own flushes are what a user's run can do.
  std::error_code CommitFileSystem() override { return {}; }

 private:
  win32::Handle m_h;
};

}  // namespace

std::error_code Win32FileSystem::SpaceOf(const std::string& sFolder, DiskSpace& space) const {
  ULARGE_INTEGER available{}, total{}, free{};
  if (!::GetDiskFreeSpaceExW(win32::LongPath(sFolder).c_str(), &available, &total, &free)) return LastWin32Error();
  space.lAvailable = static_cast<int64_t>(available.QuadPart);
  space.lFree = static_cast<int64_t>(free.QuadPart);
  wchar_t sVolume[MAX_PATH + 1] = {};
  wchar_t sType[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(win32::Widen(sFolder).c_str(), sVolume, MAX_PATH)) return LastWin32Error();
  ::GetVolumeInformationW(sVolume, nullptr, 0, nullptr, nullptr, nullptr, sType, MAX_PATH);
  space.sTop = paths::WithSeparator(win32::Narrow(sVolume));
  space.sType = win32::Narrow(sType);
  return {};
}

std::error_code Win32FileSystem::MakeWorkFolder(const std::string& sPath) {
  return ::CreateDirectoryW(win32::LongPath(paths::WithoutSeparator(sPath)).c_str(), nullptr) ? std::error_code() : LastWin32Error();
}

std::error_code Win32FileSystem::CreateFiller(const std::string& sFolder, const std::string& sName,
                                              std::unique_ptr<Filler>& pFiller) {
  win32::Handle h(::CreateFileW(win32::LongPath(paths::WithSeparator(sFolder) + sName).c_str(), GENERIC_WRITE | DELETE, 0,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!h.IsOpen()) return LastWin32Error();
  pFiller = std::make_unique<Win32Filler>(std::move(h));
  return {};
}

std::error_code Win32FileSystem::RemoveLeftover(const std::string& sPath) {
  const std::wstring sLong = win32::LongPath(paths::WithoutSeparator(sPath));
  const DWORD lAttributes = ::GetFileAttributesW(sLong.c_str());
  if (lAttributes == INVALID_FILE_ATTRIBUTES) return LastWin32Error();
  if ((lAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return std::make_error_code(std::errc::operation_not_permitted);
  const bool bDone = (lAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(sLong.c_str()) : ::DeleteFileW(sLong.c_str());
  return bDone ? std::error_code() : LastWin32Error();
}

// NTFS tells nothing of its log to a program.
int64_t Win32FileSystem::JournalLogged(const std::string&) const { return -1; }

std::error_code Win32FileSystem::CreateRewriter(const std::string&, const std::string&, int, std::unique_ptr<RecordRewriter>&) {
  return std::make_error_code(std::errc::not_supported);
}

}  // namespace tarnwipe
