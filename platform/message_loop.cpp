// The message pump.
#include "platform/message_loop.h"

#include <windows.h>

namespace platform {

int PumpMessages(bool wait, const std::function<bool()>& go_on) {
  int handled = 0;
  MSG msg;
  while (go_on()) {
    if (wait) {
      if (GetMessageW(&msg, nullptr, 0, 0) == -1) break;
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      break;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ++handled;
    // Tab and the arrow keys move between a window's controls.
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return handled;
}

}  // namespace platform
