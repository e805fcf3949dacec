// Scroll bar range, steps and wheel.
#include "platform/scroll_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace platform {
namespace {

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                               DWORD_PTR) {
  // One notch is one line step, whatever the wheel's delta.
  if (msg == WM_MOUSEWHEEL) {
    if (Control* bar = Control::FromHandle(hwnd); bar && IsWindowEnabled(hwnd))
      bar->Scroll(GET_WHEEL_DELTA_WPARAM(wparam) < 0 ? SB_LINEDOWN : SB_LINEUP);
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, ScrollBarProc, id);
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

}  // namespace

void ScrollBar::Create(const Layout& layout, int min, int max, int value) {
  role_ = AccessibleRole::kScrollBar;
  Control::Create(layout.parent->handle(), L"SCROLLBAR", WS_VISIBLE | WS_TABSTOP | SBS_VERT, 0,
                  layout.rect, L"", layout.font);
  SetWindowSubclass(hwnd_, ScrollBarProc, 0, 0);
  min_ = min;
  max_ = max;
  value_ = value;
  Apply();
}

void ScrollBar::set_max(int max) {
  max_ = max;
  value_ = std::clamp(value_, min_, std::max(min_, max_));
  Apply();
}

void ScrollBar::set_value(int value) {
  value = std::clamp(value, min_, std::max(min_, max_));
  if (value == value_) return;
  value_ = value;
  Apply();
  if (on_change) on_change();
}

void ScrollBar::Apply() {
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_POS | SIF_PAGE};
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = 1;
  info.nPos = value_;
  // Setting the range of a scroll bar control enables it again; a disabled
  // bar stays disabled until the program enables it.
  bool was_enabled = IsWindowEnabled(hwnd_) != FALSE;
  SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
  if (!was_enabled) EnableWindow(hwnd_, FALSE);
}

void ScrollBar::Scroll(int code) {
  switch (code) {
    case SB_LINEUP: set_value(value_ - small_change); break;
    case SB_LINEDOWN: set_value(value_ + small_change); break;
    case SB_PAGEUP: set_value(value_ - large_change); break;
    case SB_PAGEDOWN: set_value(value_ + large_change); break;
    case SB_TOP: set_value(min_); break;
    case SB_BOTTOM: set_value(max_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {sizeof(info), SIF_TRACKPOS};
      GetScrollInfo(hwnd_, SB_CTL, &info);
      set_value(info.nTrackPos);
      break;
    }
    default: break;
  }
}

}  // namespace platform
