// Labels.
#include "platform/label.h"

namespace platform {

void Label::Create(const Layout& layout, const std::wstring& text, Align align) {
  DWORD style = WS_VISIBLE | SS_NOPREFIX | (align == Align::kRight ? SS_RIGHT : SS_LEFT);
  role_ = AccessibleRole::kStaticText;
  Control::Create(layout.parent->handle(), L"STATIC", style, 0, layout.rect, text, layout.font);
  // A label lies beneath the controls it touches (the target box overlaps
  // its caption by a pixel), never over their borders.
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Label::GiveAccessKeyTo(const Control& target) {
  access_key_target_ = &target;
  SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~SS_NOPREFIX);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace platform
