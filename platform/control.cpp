// The control base: creation, placing in twips at the window's DPI, text,
// font and colours, and the messages every control answers alike (a screen
// reader's question, the focus, the wheel).
#include "platform/control.h"

#include <windowsx.h>
#include <commctrl.h>

#include <cassert>

#include "platform/accessible.h"
#include "platform/gdi_cache.h"

namespace platform {
namespace {

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                             DWORD_PTR) {
  Control* control = Control::FromHandle(hwnd);
  switch (msg) {
    case WM_GETOBJECT:
      if (control && !control->speaks_for_itself()) {
        if (LRESULT answer = AnswerAccessibleObject(*control, wparam, lparam)) return answer;
      }
      break;
    case WM_SETFOCUS: {
      LRESULT result = DefSubclassProc(hwnd, msg, wparam, lparam);
      if (control && control->on_focus) control->on_focus();
      return result;
    }
    case WM_MOUSEWHEEL: {
      const POINT at = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (RouteWheelNotch(hwnd, at, GET_WHEEL_DELTA_WPARAM(wparam) < 0)) return 0;
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ControlProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

}  // namespace

void RegisterWindowClass(const wchar_t* class_name, WNDPROC window_proc) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class = {sizeof(window_class)};
  if (GetClassInfoExW(instance, class_name, &window_class)) return;
  window_class.lpfnWndProc = window_proc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = class_name;
  RegisterClassExW(&window_class);
}

Control::~Control() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

Control* Control::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Control::Create(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                     const Rect& rect, const std::wstring& text, const Font& font) {
  assert(!hwnd_ && "control created twice");
  rect_ = rect;
  font_ = font;
  if (const Control* container = FromHandle(parent)) dpi_ = container->dpi();
  // Siblings clip each other, so that the z-order decides who is seen where
  // two overlap.
  hwnd_ = CreateWindowExW(ex_style, window_class, text.c_str(),
                          style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  assert(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowSubclass(hwnd_, ControlProc, 0, 0);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_, dpi_)), FALSE);
  Place();
}

void Control::Place() {
  SetWindowPos(hwnd_, nullptr, Pixels(rect_.left), Pixels(rect_.top), Pixels(rect_.width),
               Pixels(rect_.height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetDpi(int dpi) {
  dpi_ = dpi;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_, dpi_)), FALSE);
  Place();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

std::wstring Control::text() const {
  int length = GetWindowTextLengthW(window());
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(hwnd_, &text[0], length + 1));
  return text;
}

// A message line says each message as it comes, the same one again too.
void Control::set_text(const std::wstring& text) {
  SetWindowTextW(window(), text.c_str());
  if (live_ && visible() && !text.empty()) RaiseLiveRegionChanged(hwnd_);
}

void Control::set_visible(bool visible) {
  const bool was_visible = this->visible();
  ShowWindow(window(), visible ? SW_SHOWNA : SW_HIDE);
  if (live_ && visible && !was_visible && GetWindowTextLengthW(hwnd_) > 0)
    RaiseLiveRegionChanged(hwnd_);
}

void Control::set_font(const Font& font) {
  font_ = font;
  SendMessageW(window(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_, dpi_)), TRUE);
}

void Control::set_bold(bool bold) {
  Font font = font_;
  font.bold = bold;
  set_font(font);
}

void Control::set_live_region() {
  live_ = true;
  MarkLiveRegion(hwnd_);
}

std::wstring Control::accessible_name() const {
  if (!accessible_name_.empty()) return accessible_name_;
  return SpokenText(named_by_ ? named_by_->text() : text());
}

std::wstring Control::accessible_description() const {
  return described_by_ ? SpokenText(described_by_->text()) : L"";
}

bool Control::speaks_for_itself() const {
  return accessible_name_.empty() && !named_by_ && !described_by_ &&
         role_ != AccessibleRole::kLink && role_ != AccessibleRole::kPicture &&
         role_ != AccessibleRole::kRadioButton;
}

std::wstring SpokenText(const std::wstring& text) {
  std::wstring spoken;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" says one "&"
    spoken += text[i];
  }
  return spoken;
}

bool RouteWheelNotch(HWND from, POINT screen_point, bool down) {
  const HWND window = GetAncestor(from, GA_ROOT);
  for (HWND under = WindowFromPoint(screen_point); under && IsChild(window, under);
       under = GetParent(under)) {
    Control* control = Control::FromHandle(under);
    if (control && control->on_wheel) {
      control->on_wheel(down);
      return true;
    }
  }
  return false;
}

}  // namespace platform
