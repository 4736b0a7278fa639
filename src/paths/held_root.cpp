// The path of the map a file layer holds, and how the text of a path relates to it.
#include "paths/held_root.h"

#include "paths/path_text.h"

namespace tarnwipe {

void HeldRoot::Set(const std::string& sRoot) { m_sRoot = paths::AsFolder(sRoot); }

bool HeldRoot::Names(const std::string& sPath) const {
  const std::string sFolder = paths::AsFolder(sPath);
  return !m_sRoot.empty() && sFolder.size() == m_sRoot.size() && paths::LiesIn(sFolder, m_sRoot);
}

bool HeldRoot::PartBelow(const std::string& sPath, std::string& sRelative) const {
  const std::string sEntry = paths::WithoutSeparator(sPath);
  if (m_sRoot.empty() || sEntry.size() <= m_sRoot.size() || !paths::LiesIn(sEntry, m_sRoot)) return false;
  sRelative = sEntry.substr(m_sRoot.size());
  return true;
}

}  // namespace tarnwipe
