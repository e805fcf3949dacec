// A one-line text box.
#pragma once

#include "platform/control.h"

namespace platform {

class TextBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text) {
    role_ = AccessibleRole::kText;
    Control::Create(layout.parent->handle(), L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                    WS_EX_CLIENTEDGE, layout.rect, text, layout.font);
  }
};

}  // namespace platform
