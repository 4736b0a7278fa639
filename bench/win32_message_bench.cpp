// Times the Windows message area as it fills, as a folder run over many files fills it: the
// first and the last 1,000 of 20,000 "Erasing" lines, in milliseconds per 1,000 lines.
//   win32_message_bench [LINES]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/win32/erase_window.h"

int wmain(int argc, wchar_t** argv) {
  const int iLines = argc > 1 ? _wtoi(argv[1]) : 20000;
  tarnwipe::EraseWindow window;
  window.ShowCentred();
  using Clock = std::chrono::steady_clock;
  // Lines [iFrom, iTo), the window let through once a frame's worth (60 lines) has come; ms.
  const auto time = [&](int iFrom, int iTo) {
    const auto start = Clock::now();
    for (int i = iFrom; i < iTo; ++i) {
      window.PrependMessage("Erasing f" + std::to_string(100000 + i) + ".dat  [1,024 bytes]");
      if (i % 60 == 59) window.PumpEvents();
    }
    window.PumpEvents();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  const double dblFirst = time(0, 1000);
  time(1000, iLines - 1000);
  const double dblLast = time(iLines - 1000, iLines);
  std::printf("first 1,000 lines %.1f ms, last 1,000 of %d lines %.1f ms, ratio %.2f\n", dblFirst, iLines, dblLast,
              dblLast / dblFirst);
  return 0;
}
