#include "engine/freed_entries.h"

#include <algorithm>

namespace tarnwipe {
namespace {

size_t EntryUnits(size_t lChars) { return lChars + 24; }

}  // namespace

void FreedEntries::Note(uint64_t lVolume, uint64_t lFolder, size_t lChars) {
  m_units[{lVolume, lFolder}] += EntryUnits(lChars);
}

size_t FreedEntries::Units(uint64_t lVolume, uint64_t lFolder) const {
  const auto found = m_units.find({lVolume, lFolder});
  return found == m_units.end() ? 0 : found->second;
}

// The bound, a filler per 12 bytes of area, is more than enough to outgrow an area of 32-byte
// entries.
EntryFill::EntryFill(size_t lFreedUnits, int64_t lArea)
    : m_lAtLeast(std::max<size_t>(64, 2 * lFreedUnits / EntryUnits(kNameChars) + 1)),
      m_lBound(std::max(m_lAtLeast, static_cast<size_t>(std::max<int64_t>(lArea, 0)) / 12 + 1)),
      m_lArea(lArea) {}

bool EntryFill::WantsMore(size_t lMade, int64_t lAreaNow) const {
  if (lMade >= m_lBound) return false;
  return lMade < m_lAtLeast || (m_lArea > 0 && lAreaNow <= m_lArea);
}

}  // namespace tarnwipe
