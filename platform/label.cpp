// Labels.
#include "platform/label.h"

namespace platform {

void Label::Create(const Layout& layout, const std::wstring& text, Align align, bool clickable) {
  DWORD style = WS_VISIBLE | SS_NOPREFIX | (align == Align::kRight ? SS_RIGHT : SS_LEFT);
  if (clickable) style |= SS_NOTIFY;
  Control::Create(layout.parent->handle(), L"STATIC", style, 0, layout.rect, text, layout.font);
  // A label lies beneath the controls it touches (the target box overlaps
  // its caption by a pixel), never over their borders.
  SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Label::Command(int code) {
  if (code == STN_CLICKED && on_click) on_click();
}

}  // namespace platform
