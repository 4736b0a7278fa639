// Names removed for good: renamed away, entry areas filled.
#include "engine/name_removal.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "paths/path_text.h"

namespace tarnwipe {
namespace {

// What a name of lChars characters takes up in its folder: its characters and a share for the
// entry's fixed part.
size_t EntryUnits(size_t lChars) { return lChars + 24; }

}  // namespace

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

bool NameRemoval::RenameAway(HeldName& name) {
  for (int iTry = 0;; ++iTry) {
    const std::error_code ec = name.Rename(paths::MeaninglessName(name.NameLength(), iTry));
    if (ec != std::errc::file_exists) return !ec;
  }
}

void NameRemoval::NoteFreed(const HeldName& name) { m_freedUnits[name.Folder()] += EntryUnits(name.NameLength()); }

std::error_code NameRemoval::RemoveName(HeldName& name, bool& bNameLeft) {
  const bool bKeepsNames = name.KeepsFreedEntries();
  bNameLeft = bKeepsNames && !RenameAway(name);
  if (std::error_code ec = name.Delete()) return ec;
  if (bKeepsNames) NoteFreed(name);
  return {};
}

void NameRemoval::Fill(HeldFolder& folder) const {
  const auto freed = m_freedUnits.find(folder.Key());
  const EntryFill fill(freed == m_freedUnits.end() ? 0 : freed->second, folder.AreaSize());
  size_t lMade = 0;
  for (int iTry = 0; fill.WantsMore(lMade, folder.AreaSize());) {
    const std::error_code ec = folder.AddFiller(paths::MeaninglessName(EntryFill::kNameChars, iTry));
    if (ec == std::errc::file_exists) {
      ++iTry;
    } else if (ec) {
      break;
    } else {
      ++lMade;
    }
  }
  folder.RemoveFillers();
}

std::error_code NameRemoval::FillFolder(FileSystem& fs, const std::string& sPath) {
  std::unique_ptr<HeldFolder> pFolder;
  if (std::error_code ec = fs.HoldFolder(sPath, pFolder)) return ec;
  if (pFolder->AreaKeepsFreedEntries()) Fill(*pFolder);
  return {};
}

std::error_code NameRemoval::RemoveFolder(FileSystem& fs, const std::string& sPath, bool& bNameLeft) {
  bNameLeft = false;
  std::unique_ptr<HeldFolder> pFolder;
  if (std::error_code ec = fs.HoldFolder(sPath, pFolder)) return ec;
  const bool bKeepsNames = pFolder->KeepsFreedEntries();
  // A folder that still holds entries keeps its name and everything else.
  const bool bNames = bKeepsNames && pFolder->IsEmpty();
  if (bNames) Fill(*pFolder);
  const bool bRenamed = bNames && RenameAway(*pFolder);
  bNameLeft = bKeepsNames && !bRenamed;
  if (std::error_code ec = pFolder->Delete()) {
    // Filled again meanwhile: it keeps its own name.
    if (bRenamed) pFolder->Rename("");
    bNameLeft = false;
    return ec;
  }
  if (bKeepsNames) NoteFreed(*pFolder);
  return {};
}

}  // namespace tarnwipe
