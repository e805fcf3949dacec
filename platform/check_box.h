// A three-state check box (BS_3STATE): unchecked, checked and indeterminate
// (grayed). Changing the state, by the user or by the program, raises on_click; a user
// click toggles between checked and unchecked.
#pragma once

namespace platform {

// The three states of a check box, as the settings file stores them (0, 1, 2).
enum class CheckState { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };

}  // namespace platform

// The states above need no Windows: the settings rules, built natively too,
// read them from here without the control.
#ifdef _WIN32

#include "platform/control.h"

namespace platform {

class CheckBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text) {
    role_ = AccessibleRole::kCheckBox;
    Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_3STATE, 0,
                    layout.rect, text, layout.font);
  }
  CheckState check_state() const;
  void set_check_state(CheckState state);
  void Command(int code) override {
    if (code == BN_CLICKED)
      set_check_state(check_state() == CheckState::kChecked ? CheckState::kUnchecked
                                                             : CheckState::kChecked);
  }
};

}  // namespace platform

#endif  // _WIN32
