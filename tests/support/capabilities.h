// Root without some of its powers, for tests of what an ordinary user meets.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <initializer_list>

namespace tarnwipe::test {

// Drops the given capabilities from this process while it lives; Dropped() tells whether it could.
class WithoutCapabilities {
 public:
  explicit WithoutCapabilities(std::initializer_list<int> aiCapabilities) {
    if (::syscall(SYS_capget, &m_header, m_saved) != 0) return;
    __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
    for (const int iCapability : aiCapabilities) reduced[iCapability / 32].effective &= ~(1U << (iCapability % 32));
    m_bDropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
  }
  ~WithoutCapabilities() {
    if (m_bDropped) ::syscall(SYS_capset, &m_header, m_saved);
  }
  WithoutCapabilities(const WithoutCapabilities&) = delete;
  WithoutCapabilities& operator=(const WithoutCapabilities&) = delete;
  bool Dropped() const { return m_bDropped; }

 private:
  __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct m_saved[2]{};
  bool m_bDropped = false;
};

}  // namespace tarnwipe::test
