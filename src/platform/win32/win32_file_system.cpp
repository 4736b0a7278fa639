// Windows file layer. Every refusal leaves the file's content as it was. Below a held map every
// folder is opened by name from the handle of the folder above it (NtCreateFile with a root
// handle), never through a reparse point and never onto another volume, so a link, junction or
// mount point swapped into the tree leads nowhere.
#include "platform/win32/win32_file_system.h"

#include <winternl.h>
#include <winioctl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "paths/path_text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_errors.h"

namespace tarnwipe {

std::error_code FromWin32(DWORD lError) {
  switch (lError) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return std::make_error_code(std::errc::device_or_resource_busy);
    case ERROR_ACCESS_DENIED:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_WRITE_PROTECT:
      return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
      return std::make_error_code(std::errc::io_error);
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_FILE_INVALID:
      return std::make_error_code(std::errc::not_connected);
    default:
      return {static_cast<int>(lError), std::system_category()};
  }
}

std::error_code LastWin32Error() { return FromWin32(::GetLastError()); }

namespace {

using win32::Handle;

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A folder on the way is held so that nobody can rename or delete it while the next one opens.
constexpr ULONG kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
// STATUS_OBJECT_NAME_COLLISION and STATUS_FILE_IS_A_DIRECTORY, which the headers give only with
// the whole status list.
constexpr NTSTATUS kNameTaken = static_cast<NTSTATUS>(0xC0000035);
constexpr NTSTATUS kFileIsAFolder = static_cast<NTSTATUS>(0xC00000BA);

std::error_code Refused() { return std::make_error_code(std::errc::operation_not_permitted); }

// A folder opened as a file is told apart: the system folds that into "access denied".
std::error_code FromStatus(NTSTATUS lStatus) {
  if (lStatus == kFileIsAFolder) return std::make_error_code(std::errc::is_a_directory);
  return FromWin32(::RtlNtStatusToDosError(lStatus));
}

// What one open entry is.
struct EntryInfo {
  DWORD lAttributes = 0;
  DWORD lTag = 0;  // the reparse tag, when it is a reparse point
  DWORD lVolume = 0;
  DWORD lLinks = 0;
  uint64_t lIndex = 0;
  int64_t lSize = 0;

  bool IsReparsePoint() const { return (lAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
  bool IsFolder() const { return (lAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

bool Describe(HANDLE h, EntryInfo& info) {
  BY_HANDLE_FILE_INFORMATION bhfi{};
  if (::GetFileInformationByHandle(h, &bhfi) == 0) return false;
  info.lAttributes = bhfi.dwFileAttributes;
  info.lVolume = bhfi.dwVolumeSerialNumber;
  info.lLinks = bhfi.nNumberOfLinks;
  info.lIndex = (static_cast<uint64_t>(bhfi.nFileIndexHigh) << 32) | bhfi.nFileIndexLow;
  info.lSize = (static_cast<int64_t>(bhfi.nFileSizeHigh) << 32) | bhfi.nFileSizeLow;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (info.IsReparsePoint() && ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) != 0)
    info.lTag = tag.ReparseTag;
  return true;
}

// True for a folder where another volume is mounted (a mount-point reparse point that names a
// volume, not a folder as a junction does).
bool IsVolumeMount(HANDLE h) {
  std::vector<BYTE> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD lReturned = 0;
  if (::DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(), static_cast<DWORD>(buffer.size()),
                        &lReturned, nullptr) == 0)
    return false;
  // The mount-point layout: tag, lengths, then four offsets and lengths, then the names.
  const auto* pWords = reinterpret_cast<const USHORT*>(buffer.data() + 8);
  const USHORT lOffset = pWords[0];
  const USHORT lLength = pWords[1];
  const auto* pNames = reinterpret_cast<const wchar_t*>(buffer.data() + 16);
  const std::wstring sTarget(pNames + lOffset / 2, lLength / 2);
  return sTarget.rfind(L"\\??\\Volume{", 0) == 0;
}

// The attribute word the logic speaks. Symbolic links and junctions are links, never folders;
// a volume mounted on a folder stays a folder (the walk skips it as another file system); other
// reparse points (cloud placeholders and the like) are neither followed nor overwritten. Every
// plain file counts as changed since its last backup, as on the other platforms: a file whose
// archive bit a backup program cleared must not be passed over by the run.
int32_t AttributeWord(const EntryInfo& info, bool bVolumeMount) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;
  int32_t lWord = static_cast<int32_t>(info.lAttributes & kKept);
  if (!info.IsReparsePoint()) return info.IsFolder() ? lWord : lWord | kAttrArchive;
  if (info.lTag == IO_REPARSE_TAG_MOUNT_POINT && bVolumeMount) return lWord;
  lWord &= ~kAttrDirectory;
  const bool bLink = info.lTag == IO_REPARSE_TAG_SYMLINK || info.lTag == IO_REPARSE_TAG_MOUNT_POINT;
  return bLink ? lWord | kAttrArchive | kAttrLink : lWord | kAttrSystem;
}

int32_t AttributeWordOf(HANDLE h) {
  EntryInfo info;
  if (!Describe(h, info)) return -1;
  return AttributeWord(info, info.lTag == IO_REPARSE_TAG_MOUNT_POINT && IsVolumeMount(h));
}

// Opens sName in the folder hFolder as the entry itself: a reparse point is not followed.
// lDisposition FILE_CREATE makes a new file instead.
NTSTATUS OpenRelative(HANDLE hFolder, const std::wstring& sName, ACCESS_MASK access, ULONG lShare, ULONG lOptions,
                      Handle& h, ULONG lDisposition = FILE_OPEN) {
  UNICODE_STRING name{};
  name.Buffer = const_cast<PWSTR>(sName.c_str());
  name.Length = static_cast<USHORT>(sName.size() * sizeof(wchar_t));
  name.MaximumLength = name.Length;
  OBJECT_ATTRIBUTES attributes{};
  InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, hFolder, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE hOpened = nullptr;
  const NTSTATUS lStatus =
      ::NtCreateFile(&hOpened, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, lShare, lDisposition,
                     lOptions | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  h.Reset(lStatus >= 0 ? hOpened : INVALID_HANDLE_VALUE);
  return lStatus;
}

// FileDispositionInfoEx, which this compiler's headers hide behind a wrong version test.
constexpr auto kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

// Marks the open entry for deletion: at once where the system allows it, else when it closes.
std::error_code DeleteOpened(HANDLE h) {
  FILE_DISPOSITION_INFO_EX ex{FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS};
  if (::SetFileInformationByHandle(h, kDispositionInfoEx, &ex, sizeof ex) != 0) return {};
  FILE_DISPOSITION_INFO plain{TRUE};
  return ::SetFileInformationByHandle(h, FileDispositionInfo, &plain, sizeof plain) != 0 ? std::error_code()
                                                                                           : LastWin32Error();
}

// Renames the open entry h to sName in its folder hFolder, through the handles and never over
// another entry.
NTSTATUS RenameTo(HANDLE h, HANDLE hFolder, const std::wstring& sName) {
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFORMATION) + sName.size() * sizeof(wchar_t));
  auto* pInfo = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
  pInfo->ReplaceIfExists = FALSE;
  pInfo->RootDirectory = hFolder;
  pInfo->FileNameLength = static_cast<ULONG>(sName.size() * sizeof(wchar_t));
  std::copy(sName.begin(), sName.end(), pInfo->FileName);
  IO_STATUS_BLOCK io{};
  return ::NtSetInformationFile(h, &io, pInfo, static_cast<ULONG>(buffer.size()), FileRenameInformation);
}

// True for the file systems whose folders keep a removed entry's name where a recovery tool
// reads it; ReFS writes its folders anew elsewhere, and a share's server keeps its own.
bool KeepsFreedEntries(HANDLE h) {
  wchar_t sName[MAX_PATH + 1] = {};
  if (::GetVolumeInformationByHandleW(h, nullptr, 0, nullptr, nullptr, nullptr, sName, MAX_PATH) == 0) return false;
  const std::wstring sFileSystem = sName;
  return sFileSystem == L"NTFS" || sFileSystem == L"FAT" || sFileSystem == L"FAT32" || sFileSystem == L"exFAT";
}

// The folder that holds the open folder h, opened by its path now, provided its entry sName
// still leads to h; none where it does not, or h is a drive's root.
Handle ParentOf(HANDLE h, std::wstring& sName) {
  const std::string sFinal = win32::FinalPath(h);
  if (sFinal.empty() || paths::IsRoot(sFinal)) return Handle();
  sName = win32::Widen(paths::LastName(sFinal));
  Handle parent(::CreateFileW(win32::LongPath(paths::FolderPart(sFinal)).c_str(), kFolderAccess, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  Handle named;
  EntryInfo held;
  EntryInfo found;
  const bool bSame = parent.IsOpen() && OpenRelative(parent.Get(), sName, FILE_READ_ATTRIBUTES, kShareAll, 0, named) >= 0 &&
                     Describe(h, held) && Describe(named.Get(), found) && held.lVolume == found.lVolume &&
                     held.lIndex == found.lIndex;
  return bSame ? std::move(parent) : Handle();
}

// A second handle on what h is open on, with the same access; none where it cannot be made.
Handle Duplicate(HANDLE h) {
  HANDLE hCopy = nullptr;
  const HANDLE hProcess = ::GetCurrentProcess();
  return Handle(::DuplicateHandle(hProcess, h, hProcess, &hCopy, 0, FALSE, DUPLICATE_SAME_ACCESS) != 0 ? hCopy : nullptr);
}

bool IsPlainName(const std::wstring& sName) {
  return !sName.empty() && sName != L"." && sName != L".." && sName.find_first_of(L":/") == std::wstring::npos;
}

FolderKey KeyOf(HANDLE h) {
  EntryInfo info;
  return Describe(h, info) ? FolderKey{info.lVolume, info.lIndex} : FolderKey{};
}

// An entry open as h with delete access, named sName in the folder open as folder: a file, whose
// handle the open file keeps, or a folder, whose handle it holds itself (own). Every step goes
// through the handles, so no other entry can be hit.
class Win32HeldName : public HeldFolder {
 public:
  Win32HeldName(HANDLE h, Handle folder, std::wstring sName, Handle own = Handle(), std::function<bool()> isEmpty = {})
      : m_h(h), m_folder(std::move(folder)), m_sName(std::move(sName)), m_own(std::move(own)), m_isEmpty(std::move(isEmpty)) {}

  bool KeepsFreedEntries() const override { return tarnwipe::KeepsFreedEntries(m_h); }
  // A folder and its name are on one volume, the handle tells for both.
  bool AreaKeepsFreedEntries() const override { return KeepsFreedEntries(); }
  size_t NameLength() const override { return m_sName.size(); }
  // Its own name is taken, as far as a new name goes: that rename succeeds and changes nothing.
  std::error_code Rename(const std::string& sName) override {
    if (!m_folder.IsOpen() || m_sName.empty()) return std::make_error_code(std::errc::operation_not_supported);
    const std::wstring sTo = sName.empty() ? m_sName : win32::Widen(sName);
    if (!sName.empty() && ::CompareStringOrdinal(sTo.c_str(), -1, m_sName.c_str(), -1, TRUE) == CSTR_EQUAL)
      return std::make_error_code(std::errc::file_exists);
    const NTSTATUS lStatus = RenameTo(m_h, m_folder.Get(), sTo);
    if (lStatus == kNameTaken) return std::make_error_code(std::errc::file_exists);
    return lStatus < 0 ? FromStatus(lStatus) : std::error_code();
  }
  std::error_code Delete() override { return DeleteOpened(m_h); }
  FolderKey Folder() const override { return KeyOf(m_folder.Get()); }
  FolderKey Key() const override { return KeyOf(m_h); }
  bool IsEmpty() const override { return m_isEmpty && m_isEmpty(); }
  int64_t AreaSize() const override { return 0; }
  // A filler is opened to be deleted when closed, so that none outlives the filling.
  std::error_code AddFiller(const std::string& sName) override {
    if (m_fillers.empty()) ::GetFileInformationByHandleEx(m_h, FileBasicInfo, &m_before, sizeof m_before);
    Handle filler;
    const NTSTATUS lStatus = OpenRelative(m_h, win32::Widen(sName), DELETE, 0, FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE,
                                          filler, FILE_CREATE);
    if (lStatus == kNameTaken) return std::make_error_code(std::errc::file_exists);
    if (lStatus < 0) return FromStatus(lStatus);
    m_fillers.push_back(std::move(filler));
    return {};
  }
  void RemoveFillers() override {
    if (m_fillers.empty()) return;
    m_fillers.clear();
    // The folder handle may not write attributes: the times go through a handle of their own.
    Handle times;
    FILE_BASIC_INFO basic{{}, {}, m_before.LastWriteTime, m_before.ChangeTime, 0};
    if (OpenRelative(m_h, L"", FILE_WRITE_ATTRIBUTES, kShareAll, FILE_DIRECTORY_FILE, times) >= 0)
      ::SetFileInformationByHandle(times.Get(), FileBasicInfo, &basic, sizeof basic);
  }

 private:
  HANDLE m_h;
  Handle m_folder;
  std::wstring m_sName;
  Handle m_own;
  std::function<bool()> m_isEmpty;
  std::vector<Handle> m_fillers;
  FILE_BASIC_INFO m_before{};  // the folder as it was before the first filler
};

}  // namespace

// The allocation unit of the volume that holds the open file h; 0 when it cannot be told.
int64_t ClusterSize(HANDLE h) {
  FILE_FS_SIZE_INFORMATION size{};
  IO_STATUS_BLOCK io{};
  if (::NtQueryVolumeInformationFile(h, &io, &size, sizeof size, FileFsSizeInformation) < 0) return 0;
  return static_cast<int64_t>(size.SectorsPerAllocationUnit) * size.BytesPerSector;
}

// The file or stream open for overwriting: a handle opened with share mode 0, so nobody else can
// open, write or map it while it is held.
class Win32ExclusiveFile : public ExclusiveFile {
 public:
  Win32ExclusiveFile(Handle h, int64_t lLength, int64_t lAllocated, Handle folder = Handle(), std::wstring sName = {})
      : m_h(std::move(h)), m_lLength(lLength), m_lAllocated(lAllocated), m_lBlock(ClusterSize(m_h.Get())),
        m_folder(std::move(folder)), m_sName(std::move(sName)) {}

  int64_t Length() const override { return m_lLength; }
  int64_t AllocatedBytes() const override { return m_lAllocated; }
  int64_t BlockSize() const override { return m_lBlock; }

  // A sparse file's allocated ranges, as NTFS lists them; a file that is not sparse owns its
  // whole length, which the engine covers without a list.
  std::error_code OwnedRanges(std::vector<ByteRange>& ranges) const override {
    ranges.clear();
    FILE_BASIC_INFO basic{};
    if (::GetFileInformationByHandleEx(m_h.Get(), FileBasicInfo, &basic, sizeof basic) == 0) return LastWin32Error();
    if ((basic.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) == 0) return std::make_error_code(std::errc::not_supported);
    FILE_ALLOCATED_RANGE_BUFFER query{};
    query.Length.QuadPart = m_lLength;
    std::vector<FILE_ALLOCATED_RANGE_BUFFER> found(64);
    for (;;) {
      DWORD lBytes = 0;
      const BOOL bOk = ::DeviceIoControl(m_h.Get(), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query, found.data(),
                                         static_cast<DWORD>(found.size() * sizeof found[0]), &lBytes, nullptr);
      if (bOk == 0 && ::GetLastError() != ERROR_MORE_DATA) return LastWin32Error();
      const size_t lFound = lBytes / sizeof found[0];
      for (size_t i = 0; i < lFound; ++i) ranges.push_back({found[i].FileOffset.QuadPart, found[i].Length.QuadPart});
      if (bOk != 0 || lFound == 0) return {};
      const int64_t lNext = ranges.back().End();
      query.Length.QuadPart = m_lLength - lNext;
      query.FileOffset.QuadPart = lNext;
    }
  }

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    OVERLAPPED at = At(lOffset);
    DWORD lDone = 0;
    const BOOL bOk = ::WriteFile(m_h.Get(), pData, static_cast<DWORD>(std::min<int64_t>(lSize, 1 << 30)), &lDone, &at);
    lWritten = lDone;
    if (bOk != 0) return {};
    const DWORD lError = ::GetLastError();
    if (lError == ERROR_DISK_FULL || lError == ERROR_HANDLE_DISK_FULL)
      return std::make_error_code(std::errc::no_space_on_device);
    return {static_cast<int>(lError), std::system_category()};
  }

  std::error_code ReadAt(int64_t lOffset, char* pData, int64_t lSize, int64_t& lRead) override {
    OVERLAPPED at = At(lOffset);
    DWORD lDone = 0;
    const BOOL bOk = ::ReadFile(m_h.Get(), pData, static_cast<DWORD>(std::min<int64_t>(lSize, 1 << 30)), &lDone, &at);
    lRead = lDone;
    return bOk != 0 || ::GetLastError() == ERROR_HANDLE_EOF ? std::error_code() : LastWin32Error();
  }

  int64_t CurrentLength() const override {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(m_h.Get(), &size) != 0 ? size.QuadPart : -1;
  }

  // Windows has no call that starts write-back of a range alone; waiting flushes what was written.
  std::error_code StartWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code WaitWriteBack(int64_t, int64_t) override { return Flush(); }

  std::error_code Truncate(int64_t lLength) override {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = lLength;
    return ::SetFileInformationByHandle(m_h.Get(), FileEndOfFileInfo, &end, sizeof end) != 0 ? std::error_code()
                                                                                                : LastWin32Error();
  }

  std::error_code Flush() override { return ::FlushFileBuffers(m_h.Get()) != 0 ? std::error_code() : LastWin32Error(); }

  // A volume is flushed in one call only by an administrator; each file flushes on its own.
  std::error_code FlushFileSystem() override { return std::make_error_code(std::errc::not_supported); }

  bool HeldAlone() const override { return true; }

  // Every named stream, found through the open handle and opened relative to it with share
  // mode 0; the unnamed one ("::$DATA") is the file itself. A volume that keeps no named
  // streams (FAT, exFAT) has none to find.
  std::error_code OpenStreams(std::vector<std::unique_ptr<ExclusiveFile>>& streams) override {
    streams.clear();
    DWORD lFlags = 0;
    if (::GetVolumeInformationByHandleW(m_h.Get(), nullptr, 0, nullptr, nullptr, &lFlags, nullptr, 0) == 0)
      return LastWin32Error();
    if ((lFlags & FILE_NAMED_STREAMS) == 0) return {};
    std::vector<BYTE> buffer(64 * 1024);
    if (::GetFileInformationByHandleEx(m_h.Get(), FileStreamInfo, buffer.data(), static_cast<DWORD>(buffer.size())) == 0)
      return ::GetLastError() == ERROR_HANDLE_EOF ? std::error_code() : LastWin32Error();
    for (size_t lAt = 0;;) {
      const auto* pInfo = reinterpret_cast<const FILE_STREAM_INFO*>(buffer.data() + lAt);
      const std::wstring sName(pInfo->StreamName, pInfo->StreamNameLength / sizeof(wchar_t));
      if (sName != L"::$DATA") {
        Handle stream;
        const ACCESS_MASK access = FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES;
        const NTSTATUS lStatus = OpenRelative(m_h.Get(), sName, access, 0, FILE_NON_DIRECTORY_FILE, stream);
        if (lStatus < 0) return FromStatus(lStatus);
        streams.push_back(std::make_unique<Win32ExclusiveFile>(std::move(stream), pInfo->StreamSize.QuadPart,
                                                               pInfo->StreamAllocationSize.QuadPart));
      }
      if (pInfo->NextEntryOffset == 0) return {};
      lAt += pInfo->NextEntryOffset;
    }
  }

  // The handle was opened on this very file with delete access, so its name leads to it.
  std::error_code HoldName(std::unique_ptr<HeldName>& pName) override {
    pName = std::make_unique<Win32HeldName>(m_h.Get(), Duplicate(m_folder.Get()), m_sName);
    return {};
  }

  std::error_code Close() override { return m_h.Close() ? std::error_code() : LastWin32Error(); }

 private:
  static OVERLAPPED At(int64_t lOffset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(lOffset & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>(lOffset >> 32);
    return at;
  }

  Handle m_h;
  int64_t m_lLength;
  int64_t m_lAllocated;
  int64_t m_lBlock;
  Handle m_folder;       // the folder the file was opened in; none for a stream
  std::wstring m_sName;  // its name there
};

Win32FileSystem::~Win32FileSystem() { Unconfine(); }

std::error_code Win32FileSystem::Confine(const std::string& sRoot) {
  Unconfine();
  const std::wstring sWide = win32::LongPath(paths::AsFolder(sRoot));
  const DWORD lFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
  // Delete access lets the run remove the map itself at its end; a drive root refuses it.
  Handle root(::CreateFileW(sWide.c_str(), kFolderAccess | DELETE, kShareHeld, nullptr, OPEN_EXISTING, lFlags, nullptr));
  if (!root.IsOpen())
    root.Reset(::CreateFileW(sWide.c_str(), kFolderAccess, kShareHeld, nullptr, OPEN_EXISTING, lFlags, nullptr));
  if (!root.IsOpen()) return LastWin32Error();
  EntryInfo info;
  if (!Describe(root.Get(), info)) return LastWin32Error();
  if (!info.IsFolder() || info.IsReparsePoint()) return std::make_error_code(std::errc::not_a_directory);
  m_root = std::move(root);
  m_held.Set(sRoot);
  m_lVolume = info.lVolume;
  return {};
}

void Win32FileSystem::Unconfine() {
  m_root.Reset();
  m_held.Clear();
}

int Win32FileSystem::HeldDepthIn(const std::string& sFolder) const {
  const auto identity = [](const std::string& sPath, EntryInfo& info) {
    const Handle h(::CreateFileW(win32::LongPath(sPath).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.IsOpen() && Describe(h.Get(), info);
  };
  EntryInfo target;
  if (!m_root.IsOpen() || !identity(sFolder, target)) return -1;
  // Up from the folder the held handle is open on, whatever junctions or mount points led there.
  std::string sAt = win32::FinalPath(m_root.Get());
  for (int iDepth = 0; !sAt.empty(); ++iDepth) {
    EntryInfo info;
    if (!identity(sAt, info)) return -1;
    if (info.lVolume == target.lVolume && info.lIndex == target.lIndex) return iDepth;
    if (paths::IsRoot(paths::WithoutSeparator(sAt))) return -1;
    sAt = paths::FolderPart(paths::WithoutSeparator(sAt));
  }
  return -1;
}

std::error_code Win32FileSystem::Open(const std::string& sPath, ACCESS_MASK access, ULONG lShare, ULONG lOptions,
                                      Handle& h, Handle* pParent) const {
  h.Reset();
  const std::string sEntry = paths::WithoutSeparator(sPath);
  if (!m_root.IsOpen()) {
    const DWORD lFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    h.Reset(::CreateFileW(win32::LongPath(sEntry).c_str(), access, lShare, nullptr, OPEN_EXISTING, lFlags, nullptr));
    return h.IsOpen() ? std::error_code() : LastWin32Error();
  }
  if (m_held.Names(sEntry)) {
    h = Duplicate(m_root.Get());
    return h.IsOpen() ? std::error_code() : LastWin32Error();
  }
  std::string sRelative;
  if (!m_held.PartBelow(sEntry, sRelative)) return Refused();
  std::vector<std::wstring> asNames;
  for (size_t lStart = 0;;) {
    const size_t p = sRelative.find(paths::Separator(), lStart);
    asNames.push_back(win32::Widen(sRelative.substr(lStart, p == std::string::npos ? p : p - lStart)));
    if (!IsPlainName(asNames.back())) return Refused();
    if (p == std::string::npos) break;
    lStart = p + 1;
  }
  Handle folder;
  HANDLE hFolder = m_root.Get();
  for (size_t i = 0; i + 1 < asNames.size(); ++i) {
    Handle next;
    const NTSTATUS lStatus = OpenRelative(hFolder, asNames[i], kFolderAccess, kShareHeld, FILE_DIRECTORY_FILE, next);
    if (lStatus < 0) return FromStatus(lStatus);
    EntryInfo info;
    if (!Describe(next.Get(), info)) return LastWin32Error();
    if (info.IsReparsePoint()) return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    if (info.lVolume != m_lVolume) return std::make_error_code(std::errc::cross_device_link);
    folder = std::move(next);
    hFolder = folder.Get();
  }
  const NTSTATUS lStatus = OpenRelative(hFolder, asNames.back(), access, lShare, lOptions, h);
  if (lStatus < 0) return FromStatus(lStatus);
  if (pParent != nullptr) *pParent = Duplicate(hFolder);
  return {};
}

int32_t Win32FileSystem::GetAttributes(const std::string& sPath) const {
  Handle h;
  if (Open(sPath, FILE_READ_ATTRIBUTES, kShareAll, 0, h)) return -1;
  return AttributeWordOf(h.Get());
}

int64_t Win32FileSystem::FileLength(const std::string& sPath) const {
  Handle h;
  EntryInfo info;
  if (Open(sPath, FILE_READ_ATTRIBUTES, kShareAll, 0, h) || !Describe(h.Get(), info)) return -1;
  return info.IsReparsePoint() ? 0 : info.lSize;
}

std::string Win32FileSystem::ReadStart(const std::string& sPath, size_t lMax) const {
  Handle h;
  std::string sText(lMax, '\0');
  DWORD lRead = 0;
  if (Open(sPath, FILE_READ_DATA | SYNCHRONIZE, kShareAll, FILE_NON_DIRECTORY_FILE, h) ||
      !::ReadFile(h.Get(), sText.data(), static_cast<DWORD>(lMax), &lRead, nullptr))
    lRead = 0;
  sText.resize(lRead);
  return sText;
}

namespace {

EntryIdentity IdentityOf(const EntryInfo& info) {
  EntryIdentity id;
  // A reparse point (link, junction, placeholder) is never a plain file or folder here.
  id.kind = info.IsReparsePoint() ? EntryIdentity::Kind::kOther
            : info.IsFolder()     ? EntryIdentity::Kind::kFolder
                                  : EntryIdentity::Kind::kFile;
  id.lVolume = info.lVolume;
  id.lId = info.lIndex;
  id.lLinks = info.lLinks;
  return id;
}

// The entry is pinned by a handle that may only read and set its attributes: a read-only file
// cannot be opened for writing before they are reset. It is opened again for overwriting with
// share mode 0, and recognised by its volume and index.
class Win32OpenSteps : public ExclusiveOpenSteps {
 public:
  using Opener = std::function<std::error_code(ACCESS_MASK, ULONG, Handle&, Handle&)>;
  Win32OpenSteps(Opener open, std::wstring sName) : m_open(std::move(open)), m_sName(std::move(sName)) {}

  std::error_code Pin(EntryIdentity& id) override {
    if (std::error_code ec = m_open(FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, m_pinned, m_folder)) return ec;
    if (!Describe(m_pinned.Get(), m_info)) return LastWin32Error();
    id = IdentityOf(m_info);
    return {};
  }

  // Only a read-only file has its attributes reset: the others need no change, which some file
  // systems cannot make.
  std::error_code MakeWritable() override {
    if ((m_info.lAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
      FILE_BASIC_INFO basic{};
      basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
      if (::SetFileInformationByHandle(m_pinned.Get(), FileBasicInfo, &basic, sizeof basic) == 0) return LastWin32Error();
    }
    m_pinned.Reset();
    return {};
  }

  std::error_code OpenForWriting(EntryIdentity& id) override {
    const ACCESS_MASK access = FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE;
    if (std::error_code ec = m_open(access, 0, m_file, m_folder)) return ec;
    if (!Describe(m_file.Get(), m_info)) return LastWin32Error();
    id = IdentityOf(m_info);
    return {};
  }

  std::unique_ptr<ExclusiveFile> Opened() override {
    FILE_STANDARD_INFO standard{};
    ::GetFileInformationByHandleEx(m_file.Get(), FileStandardInfo, &standard, sizeof standard);
    return std::make_unique<Win32ExclusiveFile>(std::move(m_file), m_info.lSize, standard.AllocationSize.QuadPart,
                                                std::move(m_folder), m_sName);
  }

 private:
  Opener m_open;
  std::wstring m_sName;
  Handle m_pinned;
  Handle m_file;
  Handle m_folder;
  EntryInfo m_info;
};

}  // namespace

std::error_code Win32FileSystem::PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) {
  pSteps.reset();
  if (!m_root.IsOpen() || m_held.Names(sPath)) return Refused();
  pSteps = std::make_unique<Win32OpenSteps>(
      [this, sPath](ACCESS_MASK access, ULONG lShare, Handle& h, Handle& folder) {
        return Open(sPath, access, lShare, FILE_NON_DIRECTORY_FILE, h, &folder);
      },
      win32::Widen(paths::LastName(sPath)));
  return {};
}

std::error_code Win32FileSystem::RemoveLink(const std::string& sPath) {
  Handle h;
  if (std::error_code ec = Open(sPath, FILE_READ_ATTRIBUTES | DELETE, kShareAll, 0, h)) return ec;
  if ((AttributeWordOf(h.Get()) & kAttrLink) == 0) return Refused();
  return DeleteOpened(h.Get());
}

std::error_code Win32FileSystem::HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) {
  pFolder.reset();
  if (!m_root.IsOpen()) return Refused();
  const bool bRoot = m_held.Names(sPath);
  if (bRoot && paths::IsRoot(paths::WithoutSeparator(sPath))) return Refused();
  Handle h;
  Handle parent;
  if (std::error_code ec = Open(sPath, kFolderAccess | DELETE, kShareHeld, FILE_DIRECTORY_FILE, h, &parent)) return ec;
  EntryInfo info;
  if (!Describe(h.Get(), info)) return LastWin32Error();
  if (info.IsReparsePoint() || !info.IsFolder() || info.lVolume != m_lVolume) return Refused();
  // The map itself is named in the folder above it, found by its final path.
  std::wstring sName = win32::Widen(paths::LastName(paths::WithoutSeparator(sPath)));
  if (bRoot) parent = ParentOf(h.Get(), sName);
  const HANDLE hFolder = h.Get();
  pFolder = std::make_unique<Win32HeldName>(hFolder, std::move(parent), sName, std::move(h),
                                            [this, sPath] { return ListFolder(sPath).empty(); });
  return {};
}

std::vector<FolderEntry> Win32FileSystem::ListFolder(const std::string& sFolder) const {
  std::vector<FolderEntry> entries;
  Handle h;
  if (Open(sFolder, kFolderAccess, kShareAll, FILE_DIRECTORY_FILE, h)) return entries;
  EntryInfo folder;
  if (!Describe(h.Get(), folder) || folder.IsReparsePoint()) return entries;
  std::vector<BYTE> buffer(64 * 1024);
  for (auto infoClass = FileFullDirectoryRestartInfo;; infoClass = FileFullDirectoryInfo) {
    if (::GetFileInformationByHandleEx(h.Get(), infoClass, buffer.data(), static_cast<DWORD>(buffer.size())) == 0)
      break;
    for (size_t lAt = 0;;) {
      const auto* pEntry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data() + lAt);
      const std::wstring sName(pEntry->FileName, pEntry->FileNameLength / sizeof(wchar_t));
      if (sName != L"." && sName != L"..") {
        EntryInfo info;
        info.lAttributes = pEntry->FileAttributes;
        info.lTag = info.IsReparsePoint() ? pEntry->EaSize : 0;  // the field holds the tag then
        bool bVolumeMount = false;
        if (info.lTag == IO_REPARSE_TAG_MOUNT_POINT) {
          Handle mount;
          bVolumeMount = OpenRelative(h.Get(), sName, FILE_READ_ATTRIBUTES, kShareAll, 0, mount) >= 0 &&
                         IsVolumeMount(mount.Get());
        }
        entries.push_back({win32::Narrow(sName), AttributeWord(info, bVolumeMount)});
      }
      if (pEntry->NextEntryOffset == 0) break;
      lAt += pEntry->NextEntryOffset;
    }
  }
  return entries;
}

FolderAccess Win32FileSystem::ProbeFolder(const std::string& sFolder) const {
  Handle h;
  const std::error_code ec = Open(sFolder, kFolderAccess, kShareAll, FILE_DIRECTORY_FILE, h);
  if (ec == std::errc::cross_device_link) return FolderAccess::kOtherFileSystem;
  EntryInfo info;
  if (ec || !Describe(h.Get(), info)) return FolderAccess::kUnreadable;
  if (info.lTag == IO_REPARSE_TAG_MOUNT_POINT && IsVolumeMount(h.Get())) return FolderAccess::kOtherFileSystem;
  return info.IsReparsePoint() ? FolderAccess::kUnreadable : FolderAccess::kReadable;
}

std::string Win32FileSystem::FileSystemKeepingCopies(const std::string& sPath) const {
  wchar_t sVolume[MAX_PATH + 1] = {};
  wchar_t sName[MAX_PATH + 1] = {};
  const std::wstring sWide = win32::Widen(sPath);
  if (::GetVolumePathNameW(sWide.c_str(), sVolume, MAX_PATH) == 0 ||
      ::GetVolumeInformationW(sVolume, nullptr, 0, nullptr, nullptr, nullptr, sName, MAX_PATH) == 0)
    return {};
  const std::string sFileSystem = win32::Narrow(sName);
  if (sFileSystem == "ReFS") return sFileSystem;
  // NTFS writes compressed, encrypted and sparse data to new places as well.
  const DWORD lAttributes = ::GetFileAttributesW(win32::LongPath(sPath).c_str());
  if (lAttributes == INVALID_FILE_ATTRIBUTES) return {};
  if ((lAttributes & FILE_ATTRIBUTE_COMPRESSED) != 0) return sFileSystem + " (compressed)";
  if ((lAttributes & FILE_ATTRIBUTE_ENCRYPTED) != 0) return sFileSystem + " (encrypted)";
  if ((lAttributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0) return sFileSystem + " (sparse)";
  return sFileSystem == "NTFS" ? kNtfsNames : "";
}

std::string Win32FileSystem::CanonicalPath(const std::string& sPath) const {
  if (!paths::IsAbsolute(sPath)) return sPath;
  std::vector<wchar_t> buffer(32768);
  const DWORD lFull = ::GetFullPathNameW(win32::Widen(sPath).c_str(), 32768, buffer.data(), nullptr);
  if (lFull == 0 || lFull >= 32768) return sPath;
  const std::string sFull = win32::Narrow(std::wstring(buffer.data(), lFull));
  return paths::ResolveLeadingPart(sFull, [](const std::string& sHead) {
    const Handle h(::CreateFileW(win32::LongPath(sHead).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.IsOpen() ? win32::FinalPath(h.Get()) : std::string();
  });
}

}  // namespace tarnwipe
