// The message pump.
#include "platform/message_loop.h"

#include <windows.h>

#include "platform/form.h"

namespace platform {

void PumpMessages(bool wait, const std::function<bool()>& go_on) {
  MSG msg;
  while (go_on()) {
    if (wait) {
      if (GetMessageW(&msg, nullptr, 0, 0) == -1) return;
    } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      return;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    // Tab and the arrow keys move between a window's controls.
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    if (top && IsDialogMessageW(top, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void DoEvents() {
  PumpMessages(false, [] { return true; });
}

void RunMessageLoop() {
  PumpMessages(true, [] { return LoadedForms() > 0; });
}

}  // namespace platform
