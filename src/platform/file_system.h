// The file layer the logic erases and walks through: one seam, real on disk, replaceable in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace tarnwipe {

// Attribute bits of a path, in the Windows layout the logic speaks; -1 when they cannot be read.
enum AttributeBit : int32_t {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrDirectory = 16,
  kAttrArchive = 32,
  kAttrLink = 1024,
};

// A run of bytes of a file, from lOffset on.
struct ByteRange {
  int64_t lOffset = 0;
  int64_t lLength = 0;

  int64_t End() const { return lOffset + lLength; }
  bool operator==(const ByteRange&) const = default;
};

// One file opened for exclusive overwriting. Closing happens in the destructor at the latest;
// Close() is there to learn whether the close itself failed. Each call answers what the system
// said; the rules built on them (how far a pass reaches, when a file counts as overwritten) are
// the engine's.
class ExclusiveFile {
 public:
  virtual ~ExclusiveFile() = default;

  // Length in bytes when the file was opened.
  virtual int64_t Length() const = 0;

  // Bytes of the medium the file held in blocks of its own when it was opened: 0 for data kept
  // inside the file's own record (NTFS resident data, ext4 inline data).
  virtual int64_t AllocatedBytes() const = 0;

  // The file system's allocation unit for this file; 0 when it cannot be told.
  virtual int64_t BlockSize() const = 0;

  // The byte ranges that hold blocks of the file's own, written or not (preallocated, zeroed),
  // in order; holes are left out. An error where the system cannot list them, or where they
  // lie inside the file's record.
  virtual std::error_code OwnedRanges(std::vector<ByteRange>& ranges) const = 0;

  // One write of at most lSize bytes at lOffset; lWritten tells how many landed.
  virtual std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) = 0;

  // One read of at most lSize bytes at lOffset; lRead tells how many came back (0 at the end).
  virtual std::error_code ReadAt(int64_t lOffset, char* pData, int64_t lSize, int64_t& lRead) = 0;

  // The file's length now, as another writer may have left it; -1 when it cannot be read.
  virtual int64_t CurrentLength() const = 0;

  // Starts write-back of a written range without waiting for it, so that Flush has little left.
  // Where the system offers no such call there is nothing to report.
  virtual std::error_code StartWriteBack(int64_t lOffset, int64_t lSize) = 0;

  // Waits until the write-back of a range started earlier is done; this keeps the unwritten
  // backlog, and so every later wait, short. An error reported here is reported nowhere else.
  virtual std::error_code WaitWriteBack(int64_t lOffset, int64_t lSize) = 0;

  // Cuts the file to lLength bytes.
  virtual std::error_code Truncate(int64_t lLength) = 0;

  // Waits until everything written so far is on the medium.
  virtual std::error_code Flush() = 0;

  // True when the system has kept every other opener away from the file since it was opened,
  // so nobody else can have written or mapped it; false when it could not promise that.
  virtual bool HeldAlone() const = 0;

  // The file's named streams (alternate data streams), each opened for overwriting like the
  // file itself; none where the file system has no such streams.
  virtual std::error_code OpenStreams(std::vector<std::unique_ptr<ExclusiveFile>>& streams) = 0;

  // Deletes the name the file was opened under, provided that name, reached again from the held
  // map through the same folders, still leads to this very file; the name is first renamed to a
  // meaningless one, so that the folder's record of it is rewritten. The file stays open.
  virtual std::error_code Remove() = 0;

  // After Remove: true when the name could not be renamed away first, so that it may remain in
  // the folder's records.
  virtual bool NameLeft() const { return false; }

  virtual std::error_code Close() = 0;
};

// One entry of a folder listing: its name and its attribute word.
struct FolderEntry {
  std::string sName;
  int32_t lAttributes = -1;
};

// What a folder of a run turned out to be when it was about to be entered.
enum class FolderAccess { kReadable, kUnreadable, kOtherFileSystem };

// Paths are full paths throughout. While a map is held (Confine), everything below it is reached
// through the held folder, never through a link or onto another mount, whatever the path's
// text says; a path outside the map is refused. Overwriting and removing need a held map.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Holds the folder sRoot for a run until Unconfine; fails when it is no folder.
  virtual std::error_code Confine(const std::string& sRoot) = 0;
  virtual void Unconfine() = 0;

  // How many folders the held map lies below the folder sFolder, told by identity (device and
  // inode, volume and file id), whatever paths lead to either: 0 when the held map is sFolder
  // itself, -1 when it does not lie in it, when no map is held or sFolder cannot be read.
  virtual int HeldDepthIn(const std::string& sFolder) const = 0;

  // Attribute word of the path itself (a link is never followed), -1 when it cannot be read.
  virtual int32_t GetAttributes(const std::string& sPath) const = 0;

  // Length in bytes of the file at sPath; 0 for a link, -1 when it does not exist.
  virtual int64_t FileLength(const std::string& sPath) const = 0;

  // Opens a regular file with a single name for exclusive overwriting, after giving its owner
  // write permission. Refuses links, devices, FIFOs, sockets, folders, files with a second
  // hard link and files that another opener holds locked.
  virtual std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) = 0;

  // Removes a symbolic link (never what it points to); refuses anything else.
  virtual std::error_code RemoveLink(const std::string& sPath) = 0;

  // Removes an empty folder of the held map, or the map itself; never a mount point. Where the
  // file system keeps removed names, the folder is renamed away first.
  virtual std::error_code RemoveFolder(const std::string& sPath) = 0;

  // After RemoveFolder removed a folder: true when it could not be renamed away first, so that
  // its name may remain in its parent's records.
  virtual bool FolderNameLeft() const { return false; }

  // Every entry of a folder except "." and "..", in the order the system gives them; empty when
  // it cannot be read.
  virtual std::vector<FolderEntry> ListFolder(const std::string& sFolder) const = 0;

  // Whether the folder's entries can be read, or it lies on another file system than the map.
  virtual FolderAccess ProbeFolder(const std::string& sFolder) const = 0;

  // The name of the file system that holds sPath when it keeps old copies of overwritten data
  // where overwriting cannot reach them (copy-on-write, log-structured, journalled data);
  // empty when it overwrites in place or cannot be told.
  virtual std::string FileSystemKeepingCopies(const std::string& sPath) const = 0;

  // The path with links and ".." resolved as far as it exists; the rest is kept as written.
  virtual std::string CanonicalPath(const std::string& sPath) const = 0;
};

}  // namespace tarnwipe
