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
  for (;;) {
    platform::PumpMessages(false, [] { return true; });
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    // Woken by the next message or, for a condition another thread makes
    // true, after a short wait.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void ForgetQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace testing_support
