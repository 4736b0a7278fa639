// Loop-mounted images through mkfs and mount, run as commands.
#include "loop_mount.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

bool Run(const std::string& sCommand) { return std::system((sCommand + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

LoopMount::LoopMount(const std::string& sFolder, const std::string& sType, int64_t lMegabytes, bool bReadOnly)
    : m_sImage(sFolder + sType + ".img"), m_sMount(sFolder + sType + "-mnt/") {
  if (::geteuid() != 0) {
    m_sWhy = "needs root to mount an image";
    return;
  }
  if (!Run("command -v mkfs." + sType)) {
    m_sWhy = "mkfs." + sType + " is not installed";
    return;
  }
  std::filesystem::create_directories(m_sMount);
  if (!Run("truncate -s " + std::to_string(lMegabytes) + "M '" + m_sImage + "'") ||
      !Run("mkfs." + sType + " -q '" + m_sImage + "'")) {
    m_sWhy = "mkfs." + sType + " failed";
    return;
  }
  if (!Remount(bReadOnly)) m_sWhy = "cannot mount a loop device here";
}

LoopMount::~LoopMount() { Unmount(); }

bool LoopMount::Remount(bool bReadOnly) {
  Unmount();
  m_bMounted = Run("mount -o loop" + std::string(bReadOnly ? ",ro" : "") + " '" + m_sImage + "' '" + m_sMount + "'");
  return m_bMounted;
}

void LoopMount::Unmount() {
  if (!m_bMounted) return;
  Run("umount '" + m_sMount + "'");
  m_bMounted = false;
}

std::string LoopMount::RawImage() const { return ReadFile(m_sImage); }

}  // namespace tarnwipe::test
