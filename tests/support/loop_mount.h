// A small file-system image of a given kind, made with mkfs and loop-mounted for the life of a
// test; Ready() tells whether that worked here and Why() why not.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "temp_folder.h"

namespace tarnwipe::test {

class LoopMount {
 public:
  LoopMount(const TempFolder& temp, const std::string& sType, int iMegabytes)
      : m_sImage(temp.Path() + sType + ".img"), m_sMount(temp.MakeFolder(sType + "-mnt")) {
    if (::geteuid() != 0) {
      m_sWhy = "needs root to mount an image";
    } else if (!Run("command -v mkfs." + sType) || !Run("truncate -s " + std::to_string(iMegabytes) + "M " + m_sImage) ||
               !Run("mkfs." + sType + " -q " + m_sImage)) {
      m_sWhy = "mkfs." + sType + " is missing or failed";
    } else if (!Remount(false)) {
      m_sWhy = "cannot mount a loop device here";
    }
  }
  ~LoopMount() { Unmount(); }

  bool Ready() const { return m_bMounted; }
  const std::string& Why() const { return m_sWhy; }
  const std::string& Root() const { return m_sMount; }  // ending in the separator
  bool Remount(bool bReadOnly) {
    Unmount();
    return m_bMounted = Run("mount -o loop" + std::string(bReadOnly ? ",ro " : " ") + m_sImage + " " + m_sMount);
  }
  void Unmount() {
    if (m_bMounted) Run("umount " + m_sMount);
    m_bMounted = false;
  }
  // The raw bytes of the image, to be searched after Unmount.
  std::string RawImage() const { return ReadFile(m_sImage); }

 private:
  static bool Run(const std::string& sCommand) { return std::system((sCommand + " >/dev/null 2>&1").c_str()) == 0; }

  std::string m_sImage, m_sMount, m_sWhy;
  bool m_bMounted = false;
};

}  // namespace tarnwipe::test
