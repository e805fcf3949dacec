#include "support/window_input.h"

#include <windows.h>

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

void ForgetQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace testing_support
