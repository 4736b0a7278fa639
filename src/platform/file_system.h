// The file layer the logic erases and walks through: one seam, real on disk, replaceable in tests.
#pragma once

#include <cstddef>
#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/filler.h"

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

// True for the attributes of a folder itself, not of a link (or junction) to one.
inline bool IsFolderItself(int32_t lAttributes) {
  return lAttributes != -1 && (lAttributes & kAttrDirectory) != 0 && (lAttributes & kAttrLink) == 0;
}

// What FileSystemKeepingCopies says of NTFS: a folder's index keeps stale copies of entries,
// removed names among them, in the unused bytes of its blocks, which no new entry is sure to
// reach (measured through ntfs-3g; on Windows they are a known finding of recovery tools).
inline constexpr char kNtfsNames[] = "NTFS (names in folder indexes)";

// A run of bytes of a file, from lOffset on.
struct ByteRange {
  int64_t lOffset = 0;
  int64_t lLength = 0;

  int64_t End() const { return lOffset + lLength; }
  bool operator==(const ByteRange&) const = default;
};

// What an entry is, told by the system through a handle on the entry itself.
struct EntryIdentity {
  enum class Kind { kFile, kFolder, kOther };
  Kind kind = Kind::kOther;
  uint64_t lVolume = 0;  // the device or volume
  uint64_t lId = 0;      // the inode or file index on it
  uint64_t lLinks = 0;   // how many names the entry has
};

// A folder by identity: its volume and its id there.
struct FolderKey {
  uint64_t lVolume = 0;
  uint64_t lId = 0;
  auto operator<=>(const FolderKey&) const = default;
};

// An entry of a folder of the held map, held together with that folder for the removal of its
// name. Each call answers what the system said; the order of the calls is the engine's.
class HeldName {
 public:
  virtual ~HeldName() = default;

  // True where the file system keeps a removed entry's name for a recovery tool to read (FAT,
  // exFAT, NTFS); false where it leaves none (ext4, XFS, btrfs, ReFS).
  virtual bool KeepsFreedEntries() const = 0;

  // The length of the entry's own name, in the characters its file system counts.
  virtual size_t NameLength() const = 0;

  // Renames the entry to sName, a name of letters and digits, never over another entry: the error
  // is std::errc::file_exists when sName is taken, by another entry or by this one. An empty
  // sName gives the entry its own name back.
  virtual std::error_code Rename(const std::string& sName) = 0;

  // Removes the entry from its folder: a file's name, or an empty folder.
  virtual std::error_code Delete() = 0;

  // The folder the entry is in.
  virtual FolderKey Folder() const = 0;
};

// A folder of the held map, or the map itself, held for its removal.
class HeldFolder : public HeldName {
 public:
  // The folder itself.
  virtual FolderKey Key() const = 0;

  // As KeepsFreedEntries, for the entries in the folder: the top folder of a mounted disk keeps
  // its name on one file system and its entries on another.
  virtual bool AreaKeepsFreedEntries() const = 0;

  // True when it holds no entry.
  virtual bool IsEmpty() const = 0;

  // The size the folder shows for its entries; 0 where it shows none.
  virtual int64_t AreaSize() const = 0;

  // Makes an empty file sName in the folder; std::errc::file_exists when the name is taken.
  // Fillers go again with RemoveFillers, and at the latest when the folder is let go; the
  // folder's modification time is then put back to what it was before the first filler.
  virtual std::error_code AddFiller(const std::string& sName) = 0;
  virtual void RemoveFillers() = 0;
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

  // Waits until everything written to the file's file system is on the medium, in one call, where
  // such a call reaches the medium (std::errc::not_supported elsewhere). An error it reports may
  // belong to any file of that file system; each file's Flush still tells its own.
  virtual std::error_code FlushFileSystem() = 0;

  // True when the system has kept every other opener away from the file since it was opened,
  // so nobody else can have written or mapped it; false when it could not promise that.
  virtual bool HeldAlone() const = 0;

  // The file's named streams (alternate data streams), each opened for overwriting like the
  // file itself; none where the file system has no such streams.
  virtual std::error_code OpenStreams(std::vector<std::unique_ptr<ExclusiveFile>>& streams) = 0;

  // Holds the name the file was opened under for its removal, provided that name, reached again
  // from the held map through the same folders, still leads to this very file
  // (KeptCause::kReplaced when it does not). The file stays open.
  virtual std::error_code HoldName(std::unique_ptr<HeldName>& pName) = 0;

  virtual std::error_code Close() = 0;
};

// The steps of opening one entry for exclusive overwriting, each answered by the system; their
// order and what the answers allow are the engine's.
class ExclusiveOpenSteps {
 public:
  virtual ~ExclusiveOpenSteps() = default;
  // Holds the entry itself, never what a link points to, and tells what it is.
  virtual std::error_code Pin(EntryIdentity& id) = 0;
  // Gives the held entry the access that writing needs (owner write permission, normal
  // attributes); nothing else about it changes.
  virtual std::error_code MakeWritable() = 0;
  // Opens the entry for overwriting, keeping every other opener out as far as the system can,
  // and tells what was opened.
  virtual std::error_code OpenForWriting(EntryIdentity& id) = 0;
  // The file opened by OpenForWriting.
  virtual std::unique_ptr<ExclusiveFile> Opened() = 0;
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

  // The first lMax bytes of the file sPath, a link not followed; empty when it cannot be read.
  virtual std::string ReadStart(const std::string& sPath, size_t lMax) const = 0;

  // The steps that open the entry sPath of the held map for exclusive overwriting; refused when
  // its name could not be removed afterwards (KeptCause::kNameFixed), so that nothing is written.
  virtual std::error_code PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) = 0;

  // Removes a symbolic link (never what it points to); refuses anything else.
  virtual std::error_code RemoveLink(const std::string& sPath) = 0;

  // Holds a folder of the held map, or the map itself, with the folder it is in, for its
  // removal; never a link or a mount point, nor a root.
  virtual std::error_code HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) = 0;

  // Every entry of a folder except "." and "..", in the order the system gives them; empty when
  // it cannot be read.
  virtual std::vector<FolderEntry> ListFolder(const std::string& sFolder) const = 0;

  // Whether the folder's entries can be read, or it lies on another file system than the map.
  virtual FolderAccess ProbeFolder(const std::string& sFolder) const = 0;

  // The name of the file system that holds sPath when it keeps old copies of overwritten data
  // where overwriting cannot reach them (copy-on-write, log-structured, journalled data), or of
  // removed names (kNtfsNames); empty when it overwrites in place or cannot be told.
  virtual std::string FileSystemKeepingCopies(const std::string& sPath) const = 0;

  // The path with links and ".." resolved as far as it exists; the rest is kept as written.
  virtual std::string CanonicalPath(const std::string& sPath) const = 0;

  // The space of the disk that holds the folder sFolder.
  virtual std::error_code SpaceOf(const std::string& sFolder, DiskSpace& space) const = 0;

  // Makes the folder sPath, a folder of the program's own: it fails where anything has that name.
  // Until RemoveLeftover removes it, another start of the program leaves it and its fillers.
  virtual std::error_code MakeWorkFolder(const std::string& sPath) = 0;

  // A new filler in the work folder sFolder: unnamed where the file system allows it, otherwise
  // named sName and removed when the filler goes.
  virtual std::error_code CreateFiller(const std::string& sFolder, const std::string& sName,
                                       std::unique_ptr<Filler>& pFiller) = 0;

  // Removes a filler that a run stopped by force left in its work folder, or the emptied work
  // folder itself: only a plain file or an empty folder, never through a link, and nothing of
  // a work folder that a live run of another start holds.
  virtual std::error_code RemoveLeftover(const std::string& sPath) = 0;

  // The bytes the journal of sFolder's file system has logged since it was mounted; -1 where
  // it cannot be told.
  virtual int64_t JournalLogged(const std::string& sFolder) const = 0;

  // iFiles files for a RecordRewriter in the work folder sFolder, named sPrefix and a number.
  virtual std::error_code CreateRewriter(const std::string& sFolder, const std::string& sPrefix, int iFiles,
                                         std::unique_ptr<RecordRewriter>& pRewriter) = 0;
};

}  // namespace tarnwipe
