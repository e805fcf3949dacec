// Scroll bar range, steps and wheel.
#include "platform/scroll_bar.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// The bar's own procedure is kept on its window, so that every window made
// (the tests make many) chains to the right one.
const wchar_t kPreviousProc[] = L"TavrikPreviousProc";

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProc));
  // One notch is one line step, whatever the wheel's delta.
  if (msg == WM_MOUSEWHEEL) {
    if (Control* bar = Control::FromHandle(hwnd); bar && IsWindowEnabled(hwnd))
      bar->Scroll(GET_WHEEL_DELTA_WPARAM(wparam) < 0 ? SB_LINEDOWN : SB_LINEUP);
    return 0;
  }
  LRESULT result = CallWindowProcW(previous, hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kPreviousProc);
  return result;
}

}  // namespace

void ScrollBar::Create(const Layout& layout, int min, int max, int value) {
  Control::Create(layout.parent->handle(), L"SCROLLBAR", WS_VISIBLE | WS_TABSTOP | SBS_VERT, 0,
                  layout.rect, L"", layout.font);
  LONG_PTR previous =
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ScrollBarProc));
  SetPropW(hwnd_, kPreviousProc, reinterpret_cast<HANDLE>(previous));
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
