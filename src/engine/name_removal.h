// Removing names so that a recovery tool lists none of them: a file's name and an emptied
// folder go renamed away first where the file system keeps removed names, and an emptied folder
// of the map has what its entry area still holds of the removed names overwritten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <system_error>

#include "platform/file_system.h"

namespace tarnwipe {

// The filling of one emptied folder with empty files of short meaningless names, which fit
// wherever an old entry lay. It goes on until the fillers take twice the units of the names
// removed (NTFS keeps its entries in a tree whose blocks are half full), and until the area has
// grown where the folder shows its size (FAT and exFAT fill their area in order); at least 64
// names, which outgrow the part of an NTFS folder kept in its own record.
class EntryFill {
 public:
  static constexpr size_t kNameChars = 4;

  // lFreedUnits: what the names removed from the folder took up; lArea: the folder's size
  // before the filling, 0 where it shows none.
  EntryFill(size_t lFreedUnits, int64_t lArea);

  // True while another filler is wanted, with lMade made and the folder's size now lAreaNow.
  bool WantsMore(size_t lMade, int64_t lAreaNow) const;

 private:
  size_t m_lAtLeast;
  size_t m_lBound;
  int64_t m_lArea;
};

// One run's removals, which note per folder what the names removed from it took up.
class NameRemoval {
 public:
  // Removes the held name. Where the file system keeps removed names it is renamed to a
  // meaningless one of its length first, so that the folder's record of it is rewritten;
  // bNameLeft tells whether that rename failed, so that the name may remain.
  std::error_code RemoveName(HeldName& name, bool& bNameLeft);

  // Removes the emptied folder sPath of the held map (or the map itself). Where the file system
  // keeps removed names, its entry area is first filled with meaningless names as far as the
  // names removed from it reached, and it is renamed away; should the removal fail after all
  // (filled again meanwhile), it gets its own name back. bNameLeft as for RemoveName.
  std::error_code RemoveFolder(FileSystem& fs, const std::string& sPath, bool& bNameLeft);

  // Overwrites what the entry area of the folder sPath, which stays, still holds of the names
  // removed from it, where the file system keeps removed names.
  std::error_code FillFolder(FileSystem& fs, const std::string& sPath);

 private:
  // Renames the entry to a meaningless name of its length, or longer where all of those are
  // taken; false when it could not be renamed.
  static bool RenameAway(HeldName& name);
  // Fills the emptied folder's entry area with meaningless names, then removes them again.
  void Fill(HeldFolder& folder) const;
  void NoteFreed(const HeldName& name);

  std::map<FolderKey, size_t> m_freedUnits;  // per folder, what the names removed took up
};

}  // namespace tarnwipe
