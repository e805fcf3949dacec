// The base of every window control: one child window whose text is what the
// user sees, placed in twips and turned into pixels at its window's DPI
// (again whenever that changes). The twip values are kept too, so that what
// the program sets (a row at -20 twips, say) reads back exactly. What a
// screen reader is told of the control beyond what the system finds itself
// is kept here as well (accessible.cpp answers with it).
#pragma once

#include <cassert>
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

// What kind of thing a screen reader is told a control is.
enum class AccessibleRole {
  kSystem,  // whatever the system's own object says
  kPushButton,
  kCheckBox,
  kRadioButton,  // answered by the program: not every system knows one
  kText,
  kStaticText,
  kLink,
  kPicture,
  kProgressBar,
  kScrollBar,
  kGrouping,
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
  void set_text(const std::wstring& text);

  bool visible() const { return (GetWindowLongW(window(), GWL_STYLE) & WS_VISIBLE) != 0; }
  void set_visible(bool visible);
  bool enabled() const { return IsWindowEnabled(window()) != FALSE; }
  void set_enabled(bool enabled) { EnableWindow(window(), enabled); }

  int top() const { return rect_.top; }
  int height() const { return rect_.height; }
  void set_top(int twips) { rect_.top = twips; Place(); }
  void set_height(int twips) { rect_.height = twips; Place(); }

  const Font& font() const { return font_; }
  void set_font(const Font& font);
  bool bold() const { return font_.bold; }
  void set_bold(bool bold);

  // The program's own colours (CLR_INVALID: the system's); see ControlColors.
  COLORREF fore_color() const { return fore_; }
  void set_fore_color(COLORREF color) { fore_ = color; InvalidateRect(hwnd_, nullptr, TRUE); }
  COLORREF back_color() const { return back_; }
  void set_back_color(COLORREF color) { back_ = color; InvalidateRect(hwnd_, nullptr, TRUE); }
  // The colours it is drawn in now.
  virtual ColorPair colors() const { return ControlColors(text_use_, fore_, back_); }

  // Paints what is invalid now, without waiting for the message queue.
  void Update() { UpdateWindow(window()); }

  void focus() { SetFocus(window()); }
  bool focused() const { return GetFocus() == window(); }

  // For a screen reader: the name said instead of the control's own text,
  // or the text another control shows (read when asked, so it follows that
  // control); a description the same way; whether changes of the text are
  // announced as they happen (a live region, for messages).
  void set_accessible_name(const std::wstring& name) { accessible_name_ = name; }
  void set_accessible_name_from(const Control& other) { named_by_ = &other; }
  void set_accessible_description_from(const Control& other) { described_by_ = &other; }
  void set_live_region();
  std::wstring accessible_name() const;
  std::wstring accessible_description() const;
  AccessibleRole accessible_role() const { return role_; }
  // Whether the system's own object needs telling more than it finds.
  bool speaks_for_itself() const;
  // The action a screen reader offers (links), and its doing.
  virtual std::wstring default_action() const { return L""; }
  virtual void DoDefaultAction() {}

  // Clicked: buttons, check boxes (after the value changed), links.
  std::function<void()> on_click;
  // A notch of the mouse wheel over the control (or, for containers, over
  // one of their children) while it or any other control of the window has
  // the focus; down is towards the user. Unset, the notch goes on up.
  std::function<void(bool down)> on_wheel;
  // The control got the keyboard focus.
  std::function<void()> on_focus;
  // Whether the mouse shows the program's hand over this control.
  bool hand_cursor = false;

  // For tests that drive the window as a user would.
  HWND handle() const { return hwnd_; }
  static Control* FromHandle(HWND hwnd);

  // A notification the control sent its window (a click, a scroll step).
  virtual void Command(int code) {}
  virtual void Scroll(int code) {}
  // Its window moved to a screen of another scale: font and place anew.
  virtual void SetDpi(int dpi);
  int dpi() const { return dpi_; }

 protected:
  void Create(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
              const Rect& rect, const std::wstring& text, const Font& font);
  void Place();
  int Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }
  // The control's window; a call on a control never created is a fault of
  // the caller's (checked in debug builds), not a state to live with.
  HWND window() const {
    assert(hwnd_ != nullptr && "a control that was never created");
    return hwnd_;
  }

  HWND hwnd_ = nullptr;
  Rect rect_;
  Font font_;
  int dpi_ = kDefaultDpi;
  COLORREF fore_ = CLR_INVALID;
  COLORREF back_ = CLR_INVALID;
  TextUse text_use_ = TextUse::kPlain;
  AccessibleRole role_ = AccessibleRole::kSystem;

 private:
  std::wstring accessible_name_;
  const Control* named_by_ = nullptr;
  const Control* described_by_ = nullptr;
  bool live_ = false;
};

// The control's text as a screen reader says it: an access key's "&" goes.
std::wstring SpokenText(const std::wstring& text);

// A wheel notch that reached from (a control, or the window itself) goes to
// the control under the pointer, or the nearest of its containers, that
// takes notches; false when none does.
bool RouteWheelNotch(HWND from, POINT screen_point, bool down);

}  // namespace platform
