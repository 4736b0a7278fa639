// One window per user session: a start hands its targets to the window already open, or becomes
// that window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnwipe {

class SingleWindow {
 public:
  // How long a start waits for the open window to take its targets before it opens its own.
  static constexpr int kAnswerMilliseconds = 2000;

  SingleWindow();
  ~SingleWindow();
  SingleWindow(const SingleWindow&) = delete;
  SingleWindow& operator=(const SingleWindow&) = delete;

  // Hands asTargets (none: the window only comes to the front) to the window open in this
  // user's session. True when that window took them; false when there is none, or it did not
  // answer within two seconds, and this process is to open its own.
  bool HandToOpenWindow(const std::vector<std::string>& asTargets);

  // From now on, what later starts hand over reaches onTargets on the window's thread, one
  // hand-off at a time. Takes effect only in the process that found no window open (the one
  // whose HandToOpenWindow gave false for that reason), once its window can take them.
  void Receive(std::function<void(const std::vector<std::string>&)> onTargets);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_pImpl;
};

}  // namespace tarnwipe
