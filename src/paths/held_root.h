// The path of the map a file layer holds, and how the text of a path relates to it.
#pragma once

#include <string>

namespace tarnwipe {

// Names compare by the platform's rule: exactly on POSIX, without letter case on Windows.
class HeldRoot {
 public:
  // Remembers sRoot as the held map; Clear forgets it.
  void Set(const std::string& sRoot);
  void Clear() { m_sRoot.clear(); }

  // The held map, ending in the separator; empty when none is held.
  const std::string& Path() const { return m_sRoot; }

  // True when a map is held and sPath names it, with or without trailing separators.
  bool Names(const std::string& sPath) const;

  // The part of sPath below the held map, without trailing separators; false when no map is
  // held, or sPath names the map itself or lies outside it.
  bool PartBelow(const std::string& sPath, std::string& sRelative) const;

 private:
  std::string m_sRoot;
};

}  // namespace tarnwipe
