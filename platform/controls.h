// Thin wrappers over the Win32 windows and standard controls the program's
// windows are made of. Each control is a real child window of its standard
// class whose window text is what the user sees.
//
// Positions and sizes are kept in twips (1/1440 inch), the unit the windows
// are laid out in, and turned into pixels from the screen's real DPI when the
// window is moved. The twip values are kept too, so that what the program
// sets (a row at -20 twips, say) reads back exactly.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/time_spent.h"

namespace platform {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;  // twips
};

struct Font {
  std::wstring name = L"Tahoma";
  double points = 12;
  bool bold = false;
  bool underline = false;
};

// Colours the program names: the system colours and plain RGB values.
COLORREF WindowColor();
COLORREF WindowTextColor();
COLORREF ActiveCaptionColor();
COLORREF DesktopColor();
constexpr COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

int ScreenDpi();
int TwipsToPixels(int twips);

// Loads the common controls (progress bar) once, before any window.
void InitCommonControls();

// COM and OLE for the life of the object: pictures, the shell, automation.
class OleScope {
 public:
  OleScope();
  ~OleScope();
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
};

// Lets pending window messages run once: repaint, timers, button presses.
// Returns how many ran.
int DoEvents();

class Form;

// One child window. The base of every control kind; a control that was never
// created (an element of a row that does not exist) has no window.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  bool exists() const { return hwnd_ != nullptr; }

  std::wstring caption() const;
  void set_caption(const std::wstring& text);

  bool visible() const;
  void set_visible(bool visible);
  bool enabled() const;
  void set_enabled(bool enabled);

  const Rect& rect() const { return rect_; }
  int left() const { return rect_.left; }
  int top() const { return rect_.top; }
  int width() const { return rect_.width; }
  int height() const { return rect_.height; }
  void set_top(int twips);
  void set_height(int twips);

  const Font& font() const { return font_; }
  void set_font(const Font& font);
  bool bold() const { return font_.bold; }
  void set_bold(bool bold);

  COLORREF fore_color() const { return fore_; }
  void set_fore_color(COLORREF color);
  COLORREF back_color() const { return back_; }
  void set_back_color(COLORREF color);

  void focus();
  bool focused() const;

  // Mouse moved over the control (or, for containers, over their own area).
  std::function<void()> on_mouse_move;
  // Clicked: buttons, check boxes (after the value changed), link labels.
  std::function<void()> on_click;
  // Whether the mouse shows the program's hand over this control.
  bool hand_cursor = false;

  HWND handle() const { return hwnd_; }
  static Control* FromHandle(HWND hwnd);

  // What a container does with a notification its child sent it.
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

// What a control is created with: its container, place and font.
struct Layout {
  const Control* parent;
  Rect rect;
  Font font;
};

class Label : public Control {
 public:
  enum class Align { kLeft, kRight };
  void Create(const Layout& layout, const std::wstring& text, Align align = Align::kLeft,
              bool clickable = false);
  void Command(int code) override;
};

class Button : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text);
  void Command(int code) override;
};

// A check box with the three states 0 unchecked, 1 checked and 2 grayed.
// Changing the value, by the user or by the program, raises on_click; a user
// click toggles between checked and unchecked.
class CheckBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text);
  int value() const;
  void set_value(int value);
  void Command(int code) override;
};

class TextBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text);
  std::wstring text() const { return caption(); }
  void set_text(const std::wstring& text) { set_caption(text); }
};

// A captioned frame (group box) that holds other controls.
class Frame : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text);
};

// A plain container that clips its children; the list panel is one.
class PictureBox : public Control {
 public:
  void Create(const Layout& layout);
};

// A picture from the program's resources, drawn on the window colour.
class Image : public Control {
 public:
  void Create(const Layout& layout, int picture_resource);
};

// A one-pixel line in the window-text colour, between two points in twips.
class Line : public Control {
 public:
  void Create(const Control& parent, int x1, int y1, int x2, int y2);
};

class ProgressBar : public Control {
 public:
  void Create(const Layout& layout);
  double maximum() const { return maximum_; }
  void set_maximum(double maximum);
  double value() const { return value_; }
  void set_value(double value);
  // The share of the bar drawn filled, 0 to kSteps.
  int position() const;
  static constexpr int kSteps = 10000;
  // Adds the time the bar takes to redraw to spent (nothing when null).
  void MeasureDrawing(TimeSpent* spent) { drawing_ = spent; }

 private:
  void Show();
  int DrawnPixels(int position) const;
  double maximum_ = 100;
  double value_ = 0;
  int shown_ = -1;  // the position the control was last given
  TimeSpent* drawing_ = nullptr;
};

class ScrollBar : public Control {
 public:
  void Create(const Layout& layout, int min, int max, int value);
  int min() const { return min_; }
  int max() const { return max_; }
  void set_max(int max);
  int value() const { return value_; }
  void set_value(int value);
  int small_change = 1;
  int large_change = 1;
  // The value changed by the user, by a line or page step or the thumb.
  std::function<void()> on_change;
  void Scroll(int code) override;

 private:
  void Apply();
  int min_ = 0, max_ = 0, value_ = 0;
};

// Replaces the scroll bar's window procedure so that each notch of the mouse
// wheel over the focused scroll bar is one line step.
void HookScrollWheel(ScrollBar& scroll_bar);

class MenuItem {
 public:
  std::wstring caption() const;
  void set_caption(const std::wstring& text);
  std::function<void()> on_click;

 private:
  friend class Form;
  HMENU menu_ = nullptr;
  UINT id_ = 0;
  BOOL by_position_ = FALSE;  // the entries of the bar itself are found by place
  HWND owner_ = nullptr;
};

// A timer of a window: ticks every interval while enabled and the interval
// is not 0.
class Timer {
 public:
  void Create(Form& owner, int interval_ms, bool enabled);
  ~Timer();
  int interval() const { return interval_; }
  void set_interval(int ms);
  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled);
  std::function<void()> on_tick;

 private:
  friend class Form;
  void Apply();
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  int interval_ = 0;
  bool enabled_ = false;
};

// A top-level window. Messages are turned into calls on its controls and
// into the virtual handlers below.
class Form : public Control {
 public:
  enum class Border { kFixedSingle, kNone };
  struct Style {
    std::wstring caption;
    int client_width = 0, client_height = 0;  // twips
    Border border = Border::kFixedSingle;
    Font font;
  };
  ~Form() override;

  void CreateForm(const Style& style, const Form* owner = nullptr);
  void Unload();
  bool loaded() const { return exists(); }

  void CenterOnScreen();
  void CenterOnOwner();
  void Show();
  // Shows the window and runs the message loop until it is unloaded; the
  // owner takes no input meanwhile.
  void ShowModal(Form& owner);
  void SetTopmost();

  // A menu bar entry and its items, in order.
  void AddMenu(MenuItem& menu, const std::wstring& caption, std::vector<std::pair<MenuItem*, std::wstring>> items);

  int client_width_px() const;
  int client_height_px() const;

  // Called when the user closes the window or Unload runs.
  std::function<void()> on_unload;
  // Called each time the window becomes the active window.
  std::function<void()> on_activate;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

 private:
  friend class Timer;
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  UINT_PTR AddTimer(Timer* timer);

  HMENU menu_bar_ = nullptr;
  std::map<UINT, MenuItem*> menu_items_;
  std::map<UINT_PTR, Timer*> timers_;
  HWND owner_ = nullptr;
};

// Runs the message loop until the last form is unloaded.
void RunMessageLoop();
// The number of forms that are loaded.
int LoadedForms();
// Unloads every loaded form of the program, one after the other.
void UnloadAllForms();
// Ends the program at once; nothing after it runs.
[[noreturn]] void EndProgram();

}  // namespace platform
