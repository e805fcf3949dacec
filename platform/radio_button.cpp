// Checking one radio button of a group.
#include "platform/radio_button.h"

namespace platform {

// The buttons from the group's first to the next group's start; the
// checked one is where Tab enters the group.
void RadioButton::CheckInGroup(HWND button) {
  const HWND parent = GetParent(button);
  HWND first = button;
  while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) {
    const HWND before = GetWindow(first, GW_HWNDPREV);
    if (!before) break;
    first = before;
  }
  for (HWND sibling = first; sibling && GetParent(sibling) == parent;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != first && (GetWindowLongW(sibling, GWL_STYLE) & WS_GROUP)) break;
    SendMessageW(sibling, BM_SETCHECK, sibling == button ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG style = GetWindowLongW(sibling, GWL_STYLE);
    SetWindowLongW(sibling, GWL_STYLE, sibling == button ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

void StartGroupAt(const Control& control) {
  const HWND window = control.handle();
  SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_GROUP);
}

}  // namespace platform
