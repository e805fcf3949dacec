// A radio button (BS_AUTORADIOBUTTON). The first of a group starts the
// group (WS_GROUP); the checked one is the group's tab stop; the arrow keys
// move among the group's buttons, and the one that gets the focus is
// checked, as in any dialog.
#pragma once

#include "platform/control.h"

namespace platform {

class RadioButton : public Control {
 public:
  enum class Group { kFirst, kNext };
  void Create(const Layout& layout, const std::wstring& text, Group group) {
    role_ = AccessibleRole::kRadioButton;
    const DWORD starts = group == Group::kFirst ? WS_GROUP | WS_TABSTOP : 0;
    Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | BS_AUTORADIOBUTTON | starts,
                    0, layout.rect, text, layout.font);
    // Windows' dialog keys count on a button checking itself when focused;
    // not every system's button does.
    on_focus = [this] {
      if (!checked() && GetCapture() != window()) SendMessageW(window(), BM_CLICK, 0, 0);
    };
  }
  bool checked() const { return SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Only this button of its group shows checked, and is the group's tab
  // stop; on_click is not raised.
  void Check() { CheckInGroup(window()); }
  void Command(int code) override {
    if (code != BN_CLICKED) return;
    Check();
    if (on_click) on_click();
  }

 private:
  static void CheckInGroup(HWND button);
};

// The control after a group's last button starts what follows (WS_GROUP),
// so that the arrow keys stay within the buttons.
void StartGroupAt(const Control& control);

}  // namespace platform
