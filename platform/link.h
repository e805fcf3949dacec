// A link: underlined text in the system's link colour that does its click
// when clicked, or with Enter or Space while it has the focus. It is a tab
// stop, drawn with a focus rectangle when focused (as the user's setting
// shows them), and screen readers are told it is a link.
#pragma once

#include "platform/label.h"
#include "platform/painted.h"

namespace platform {

class Link : public Label, public Painted {
 public:
  void Create(const Layout& layout, const std::wstring& text);
  // What a screen reader offers to do with the link ("Open").
  std::wstring action_name;
  std::wstring default_action() const override { return action_name; }
  void DoDefaultAction() override { Click(); }
  void Click() {
    if (on_click) on_click();
  }
  void Paint(HDC dc) const override;
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace platform
