// Check box states.
#include "platform/check_box.h"

namespace platform {

CheckState CheckBox::check_state() const {
  switch (SendMessageW(window(), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return CheckState::kChecked;
    case BST_INDETERMINATE:
      return CheckState::kIndeterminate;
    default:
      return CheckState::kUnchecked;
  }
}

void CheckBox::set_check_state(CheckState state) {
  if (state == check_state()) return;
  static const WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
  SendMessageW(window(), BM_SETCHECK, kStates[static_cast<int>(state)], 0);
  if (on_click) on_click();
}

}  // namespace platform
