// Runs the test thread's window messages until a condition holds: the
// About window's check and update move on posted messages, as in the
// program's own message loop.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace testing_support {

// Whether done() came to hold within limit.
inline bool RunMessagesUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // A quit left by an earlier test's last window is not this test's.
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace testing_support
