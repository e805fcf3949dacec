// Check box states.
#include "platform/check_box.h"

#include <cassert>

namespace platform {

int CheckBox::value() const {
  switch (SendMessageW(hwnd_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return 1;
    case BST_INDETERMINATE:
      return 2;
    default:
      return 0;
  }
}

void CheckBox::set_value(int value) {
  assert(value >= 0 && value <= 2);
  if (value < 0 || value > 2 || value == this->value()) return;
  static const WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  SendMessageW(hwnd_, BM_SETCHECK, kStates[value], 0);
  if (on_click) on_click();
}

}  // namespace platform
