// Reading the records of the freedesktop.org Trash and of the Recycle Bin.
#include "runs/trash_record.h"

#include <cstdint>
#include <sstream>

#include "paths/uri_list.h"

namespace tarnwipe {
namespace {

// The unit at lAt of little-endian UTF-16 text.
uint32_t Unit(const std::string& s, size_t lAt) {
  return static_cast<unsigned char>(s[lAt]) | (static_cast<uint32_t>(static_cast<unsigned char>(s[lAt + 1])) << 8);
}

void AppendUtf8(std::string& sOut, uint32_t lCode) {
  if (lCode < 0x80) {
    sOut += static_cast<char>(lCode);
  } else if (lCode < 0x800) {
    sOut += static_cast<char>(0xC0 | (lCode >> 6));
    sOut += static_cast<char>(0x80 | (lCode & 0x3F));
  } else if (lCode < 0x10000) {
    sOut += static_cast<char>(0xE0 | (lCode >> 12));
    sOut += static_cast<char>(0x80 | ((lCode >> 6) & 0x3F));
    sOut += static_cast<char>(0x80 | (lCode & 0x3F));
  } else {
    sOut += static_cast<char>(0xF0 | (lCode >> 18));
    sOut += static_cast<char>(0x80 | ((lCode >> 12) & 0x3F));
    sOut += static_cast<char>(0x80 | ((lCode >> 6) & 0x3F));
    sOut += static_cast<char>(0x80 | (lCode & 0x3F));
  }
}

}  // namespace

std::string TrashInfoPath(const std::string& sRecord, const std::string& sTop) {
  std::istringstream lines(sRecord);
  for (std::string sLine; std::getline(lines, sLine);) {
    if (!sLine.starts_with("Path=")) continue;
    if (sLine.ends_with('\r')) sLine.pop_back();
    const std::string sPath = PercentDecoded(sLine.substr(5));
    return sPath.empty() || sPath.front() == '/' ? sPath : sTop + sPath;
  }
  return {};
}

std::string RecycleRecordPath(const std::string& sRecord) {
  // Version 1: the name from byte 24, 260 units; version 2: its length in units at byte 24, the
  // name from byte 28.
  if (sRecord.size() < 28) return {};
  const bool bVersion2 = sRecord[0] == 2;
  size_t lAt = bVersion2 ? 28 : 24;
  const size_t lEnd = bVersion2 ? std::min(sRecord.size(), lAt + 2 * static_cast<size_t>(Unit(sRecord, 24))) : std::min(sRecord.size(), lAt + 520);
  std::string sPath;
  for (; lAt + 1 < lEnd; lAt += 2) {
    uint32_t lCode = Unit(sRecord, lAt);
    if (lCode == 0) break;
    if (lCode >= 0xD800 && lCode < 0xDC00 && lAt + 3 < lEnd) {
      lCode = 0x10000 + ((lCode - 0xD800) << 10) + (Unit(sRecord, lAt + 2) - 0xDC00);
      lAt += 2;
    }
    AppendUtf8(sPath, lCode);
  }
  return sPath;
}

}  // namespace tarnwipe
