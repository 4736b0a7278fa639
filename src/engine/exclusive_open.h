// Opening one entry for exclusive overwriting: the sequence every file layer takes, with the
// steps each platform answers through its own system calls.
#pragma once

#include <cstdint>
#include <system_error>

namespace tarnwipe {

// What an entry turned out to be, told through a handle on the entry itself.
struct EntryIdentity {
  enum class Kind { kFile, kFolder, kOther };
  Kind kind = Kind::kOther;
  uint64_t lVolume = 0;  // the device or volume
  uint64_t lId = 0;      // the inode or file index on it
  uint64_t lLinks = 0;   // how many names the entry has
};

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
};

// Pins the entry, refuses anything but a plain file with a single name (folders, links,
// devices, pipes, sockets, files with a second hard link), makes it writable, opens it and
// refuses the open unless it reached the very file that was checked, still with one name.
// Whatever is refused keeps its content.
std::error_code OpenExclusively(ExclusiveOpenSteps& steps);

}  // namespace tarnwipe
