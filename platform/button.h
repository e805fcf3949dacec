// A push button.
#pragma once

#include "platform/control.h"

namespace platform {

class Button : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text) {
    role_ = AccessibleRole::kPushButton;
    Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                    layout.rect, text, layout.font);
  }
  void Command(int code) override {
    if (code == BN_CLICKED && on_click) on_click();
  }
};

}  // namespace platform
