// Reading /proc/self/mountinfo: the fifth field of a line is the mount point, the first after
// the " - " separator the file system's type.
#include "platform/posix/mount_table.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "paths/path_text.h"

namespace tarnwipe {
namespace {

std::string Unescaped(const std::string& sField) {
  std::string sPlain;
  for (size_t i = 0; i < sField.size(); ++i) {
    if (sField[i] == '\\' && i + 3 < sField.size()) {
      sPlain += static_cast<char>(std::strtol(sField.substr(i + 1, 3).c_str(), nullptr, 8));
      i += 3;
    } else {
      sPlain += sField[i];
    }
  }
  return sPlain;
}

}  // namespace

std::vector<Mount> MountTable() {
  std::vector<Mount> mounts;
  std::ifstream in("/proc/self/mountinfo");
  for (std::string sLine; std::getline(in, sLine);) {
    std::istringstream fields(sLine);
    std::string sField, sPoint, sType;
    for (int i = 0; i < 5 && fields >> sField; ++i) sPoint = sField;
    while (fields >> sField && sField != "-") {
    }
    fields >> sType;
    if (!sPoint.empty()) mounts.push_back({paths::WithSeparator(Unescaped(sPoint)), sType});
  }
  return mounts;
}

}  // namespace tarnwipe
