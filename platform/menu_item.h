// An entry of a window's menu bar or of one of its menus.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

namespace platform {

class MenuItem {
 public:
  std::wstring text() const;
  void set_text(const std::wstring& text);
  // For an item of a menu, not an entry of the bar.
  bool checked() const;
  void set_checked(bool checked);
  bool enabled() const;
  void set_enabled(bool enabled);
  std::function<void()> on_click;

 private:
  friend class Form;
  HMENU menu_ = nullptr;
  UINT id_ = 0;
  BOOL by_position_ = FALSE;  // the entries of the bar itself are found by place
  HWND owner_ = nullptr;
};

}  // namespace platform
