// A check box with the three states 0 unchecked, 1 checked and 2 grayed.
// Changing the value, by the user or by the program, raises on_click; a user
// click toggles between checked and unchecked.
#pragma once

#include "platform/control.h"

namespace platform {

class CheckBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text) {
    Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_3STATE, 0,
                    layout.rect, text, layout.font);
  }
  int value() const;
  void set_value(int value);
  void Command(int code) override {
    if (code == BN_CLICKED) set_value(value() == 1 ? 0 : 1);
  }
};

}  // namespace platform
