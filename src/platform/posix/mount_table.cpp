// Reading /proc/self/mountinfo: a line's first fields are the mount's id, its parent's, the
// device, the mounted root and the mount point; after the " - " separator come the type, the
// source and the file system's options.
#include "platform/posix/mount_table.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "paths/path_text.h"

namespace tarnwipe {
namespace {

// A field with its octal escapes ("\040" for a blank) decoded.
std::string Unescaped(const std::string& sField) {
  std::string sText;
  for (size_t i = 0; i < sField.size(); ++i) {
    const bool bEscape = sField[i] == '\\' && i + 3 < sField.size() && std::isdigit(static_cast<unsigned char>(sField[i + 1]));
    sText += bEscape ? static_cast<char>(std::stoi(sField.substr(i + 1, 3), nullptr, 8)) : sField[i];
    if (bEscape) i += 3;
  }
  return sText;
}

}  // namespace

std::vector<Mount> MountTable() {
  std::vector<Mount> mounts;
  std::ifstream in("/proc/self/mountinfo");
  for (std::string sLine; std::getline(in, sLine);) {
    std::istringstream fields(sLine);
    Mount mount;
    std::string sParent, sField;
    if (!(fields >> mount.sId >> sParent >> mount.sDevice >> mount.sRoot >> mount.sTop)) continue;
    while (fields >> sField && sField != "-") {
    }
    fields >> mount.sType >> mount.sSource >> mount.sOptions;
    mount.sRoot = Unescaped(mount.sRoot);
    mount.sTop = paths::WithSeparator(Unescaped(mount.sTop));
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

}  // namespace tarnwipe
