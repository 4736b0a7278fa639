// What the names removed from the folders of a held map took up in their entry areas, and how
// far an emptied folder is filled with meaningless names so that none of them stays readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

namespace tarnwipe {

// Per folder (volume, folder id): the units of the names removed from it, an entry's characters
// and a share for its fixed part.
class FreedEntries {
 public:
  void Note(uint64_t lVolume, uint64_t lFolder, size_t lChars);
  size_t Units(uint64_t lVolume, uint64_t lFolder) const;
  void Clear() { m_units.clear(); }

 private:
  std::map<std::pair<uint64_t, uint64_t>, size_t> m_units;
};

// The filling of one emptied folder with empty files of short meaningless names, which fit
// wherever an old entry lay. It goes on until the fillers take twice the units of the names
// removed (NTFS keeps its entries in a tree whose blocks are half full), and until the area has
// grown where the folder shows its size (FAT and exFAT fill their area in order); at least 64
// names, which outgrow the part of an NTFS folder kept in its own record.
class EntryFill {
 public:
  static constexpr size_t kNameChars = 4;

  // lArea: the folder's size before the filling, 0 where it shows none.
  EntryFill(size_t lFreedUnits, int64_t lArea);

  // True while another filler is wanted, with lMade made and the folder's size now lAreaNow.
  bool WantsMore(size_t lMade, int64_t lAreaNow) const;

 private:
  size_t m_lAtLeast;
  size_t m_lBound;
  int64_t m_lArea;
};

}  // namespace tarnwipe
