// The control base: creation, placing in twips, text, font and colours.
#include "platform/control.h"

#include <cassert>

#include "platform/gdi_cache.h"

namespace platform {

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
  // Siblings clip each other, so that the z-order decides who is seen where
  // two overlap.
  hwnd_ = CreateWindowExW(ex_style, window_class, text.c_str(),
                          style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  assert(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
  Place();
}

void Control::Place() {
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(rect_.left), TwipsToPixels(rect_.top),
               TwipsToPixels(rect_.width), TwipsToPixels(rect_.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Control::text() const {
  int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(hwnd_, &text[0], length + 1));
  return text;
}

void Control::set_font(const Font& font) {
  font_ = font;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), TRUE);
}

void Control::set_bold(bool bold) {
  Font font = font_;
  font.bold = bold;
  set_font(font);
}

}  // namespace platform
