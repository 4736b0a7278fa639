// A small file-system image made and mounted through a loop device, for tests that need a real
// file system of a given kind; unmounted and removed at the end.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwipe::test {

class LoopMount {
 public:
  // Makes an image of lMegabytes with mkfs.<sType> in sFolder and mounts it (read-only when
  // bReadOnly). Ready() tells whether it worked; Why() says why not.
  LoopMount(const std::string& sFolder, const std::string& sType, int64_t lMegabytes, bool bReadOnly = false);
  ~LoopMount();
  LoopMount(const LoopMount&) = delete;
  LoopMount& operator=(const LoopMount&) = delete;

  bool Ready() const { return m_bMounted; }
  const std::string& Why() const { return m_sWhy; }

  // The mount point, ending in the separator.
  const std::string& Root() const { return m_sMount; }

  // Mounts the image again, read-only or not.
  bool Remount(bool bReadOnly);

  // Flushes and unmounts.
  void Unmount();

  // The raw bytes of the image, to be searched after Unmount.
  std::string RawImage() const;

 private:
  std::string m_sImage;
  std::string m_sMount;
  std::string m_sWhy;
  bool m_bMounted = false;
};

}  // namespace tarnwipe::test
