// The base of every window control: one child window whose text is what the
// user sees, placed in twips and turned into pixels at the screen's real
// DPI. The twip values are kept too, so that what the program sets (a row
// at -20 twips, say) reads back exactly.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include "platform/appearance.h"

namespace platform {

// Registers one of the program's own window classes (arrow cursor, window
// colour behind it) the first time it is asked for.
void RegisterWindowClass(const wchar_t* class_name, WNDPROC window_proc);

class Control;

// What a control is created with: its container, place and font.
struct Layout {
  const Control* parent;
  Rect rect;
  Font font;
};

// A control that was never created (an element of a row that does not
// exist) has no window.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  bool exists() const { return hwnd_ != nullptr; }

  std::wstring text() const;
  void set_text(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

  bool visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
  void set_visible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
  bool enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void set_enabled(bool enabled) { EnableWindow(hwnd_, enabled); }

  int top() const { return rect_.top; }
  int height() const { return rect_.height; }
  void set_top(int twips) { rect_.top = twips; Place(); }
  void set_height(int twips) { rect_.height = twips; Place(); }

  const Font& font() const { return font_; }
  void set_font(const Font& font);
  bool bold() const { return font_.bold; }
  void set_bold(bool bold);

  COLORREF fore_color() const { return fore_; }
  void set_fore_color(COLORREF color) { fore_ = color; InvalidateRect(hwnd_, nullptr, TRUE); }
  COLORREF back_color() const { return back_; }
  void set_back_color(COLORREF color) { back_ = color; InvalidateRect(hwnd_, nullptr, TRUE); }

  // Paints what is invalid now, without waiting for the message queue.
  void Update() { UpdateWindow(hwnd_); }

  void focus() { SetFocus(hwnd_); }
  bool focused() const { return GetFocus() == hwnd_; }

  // Mouse moved over the control (or, for containers, over their own area).
  std::function<void()> on_mouse_move;
  // Clicked: buttons, check boxes (after the value changed), link labels.
  std::function<void()> on_click;
  // A notch of the mouse wheel reached the control, or a container from one
  // of its children; down is towards the user. Unset, the notch goes on up.
  std::function<void(bool down)> on_wheel;
  // Whether the mouse shows the program's hand over this control.
  bool hand_cursor = false;

  // For tests that drive the window as a user would.
  HWND handle() const { return hwnd_; }
  static Control* FromHandle(HWND hwnd);

  // A notification the control sent its window (a click, a scroll step).
  virtual void Command(int code) {}
  virtual void Scroll(int code) {}

 protected:
  void Create(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
              const Rect& rect, const std::wstring& text, const Font& font);
  void Place();

  HWND hwnd_ = nullptr;
  Rect rect_;
  Font font_;
  COLORREF fore_ = CLR_INVALID;
  COLORREF back_ = CLR_INVALID;
};

}  // namespace platform
