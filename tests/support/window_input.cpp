#include "support/window_input.h"

#include <windows.h>

#include "platform/message_loop.h"

namespace testing_support {

void TurnWheel(const platform::Control& control, int notches) {
  HWND hwnd = control.handle();
  RECT box;
  GetWindowRect(hwnd, &box);
  LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  int step = notches < 0 ? -WHEEL_DELTA : WHEEL_DELTA;
  for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
    SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, step), at);
}

void Click(const platform::Control& control) { SendMessageW(control.handle(), BM_CLICK, 0, 0); }

bool PumpUntil(const std::function<bool()>& condition, int limit_ms) {
  const ULONGLONG end = GetTickCount64() + limit_ms;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    // Woken by the next message or, for a condition another thread makes
    // true, after a short wait.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // A quit left by an earlier test's last window is not this test's.
      if (msg.message == WM_QUIT) continue;
      HWND top = GetAncestor(msg.hwnd, GA_ROOT);
      if (top && IsDialogMessageW(top, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

int RunPendingMessages() { return platform::PumpMessages(false, [] { return true; }); }

void ForgetQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace testing_support
