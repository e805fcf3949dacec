// A top-level window. Its window procedure (form_messages.cpp) turns
// messages into calls on its controls, its menu items and timers, and the
// handlers below; it lays itself out again at a new DPI and redraws in the
// new colours when the user changes them. Its keyboard (form_keys.cpp) is a
// dialog's: Tab, access keys, Enter for the default button, the focus kept
// while another window is in front.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "platform/menu_item.h"

namespace platform {

// The tasks posted to one window and not run yet (form_messages.cpp).
struct PostedTasks;

// Hands work to a window's thread from any thread: each task runs there, in
// the order posted, as the window's messages are handled. Tasks posted after
// the window is gone are dropped, and those still waiting when it goes are
// freed then.
class Mailbox {
 public:
  Mailbox() = default;
  void Post(std::function<void()> task) const;

 private:
  friend class Form;
  explicit Mailbox(std::shared_ptr<PostedTasks> tasks) : tasks_(std::move(tasks)) {}
  std::shared_ptr<PostedTasks> tasks_;
};

class Form : public Control {
 public:
  enum class Border { kFixedSingle, kNone };
  struct Style {
    std::wstring title;
    int client_width = 0, client_height = 0;  // twips
    Border border = Border::kFixedSingle;
    Font font;
  };
  ~Form() override;

  // The window, hidden, with the program's icon.
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
  // Whether the window, or one it owns, is the one the user works in.
  bool in_front() const;

  // The button Enter presses wherever the focus is, unless the focus is on
  // a button or link of its own.
  void set_default_button(Control& button);
  // Esc closes the window as its close box does.
  bool escape_closes = false;

  // A menu bar entry and its items, in order; a null item is a separator.
  void AddMenu(MenuItem& menu, const std::wstring& menu_text,
               std::vector<std::pair<MenuItem*, std::wstring>> items);

  int client_height_px() const;
  int client_width_px() const;

  // The way other threads reach this window.
  Mailbox mailbox() const { return Mailbox(posted_); }

  // Called for the close box instead of unloading, when set.
  std::function<void()> on_close;
  // Called when the user closes the window or Unload runs.
  std::function<void()> on_unload;
  // Asked when the session is about to end (shutdown, logoff): false asks
  // the system to wait, showing the reason set below.
  std::function<bool()> on_query_end_session;
  // The session ends now: the process ends when this returns.
  std::function<void()> on_end_session;
  // The reason the system shows while this window holds up a shutdown; ""
  // takes it away.
  void SetShutdownReason(const std::wstring& reason);
  // Called each time the window becomes the active window.
  std::function<void()> on_activate;

  // An exception that reached a window procedure: a fault, never part of
  // the program's design. Set, it is called with the exception's text;
  // unset, the program says so in a box (the facts' unexpected_error text,
  // then the exception's) and ends, rather than let the exception cross
  // the system's code.
  static std::function<void(const std::wstring& what)> on_unexpected_error;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static void EndOnUnexpectedError(const char* what);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code, HWND control);
  void OnScroll(int code, HWND control);
  LRESULT OnControlColor(HDC dc, HWND control);
  bool OnSetCursor(HWND under_mouse, int hit);
  void OnTimer(UINT_PTR id);
  void OnActivate(bool active);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnColorsChanged();
  void RunPostedTask();
  LRESULT OnDestroyed(WPARAM wparam, LPARAM lparam);
  // form_keys.cpp
  void OnNextControl(HWND control, bool by_handle, bool backwards);
  LRESULT OnDefaultButton() const;
  bool OnCancelCommand();
  void KeepFocus();
  void RestoreFocus();

  // The window's outer size for a client area of the form's twips.
  void FitFrameToClient();
  void SetProgramIcon();

  HMENU menu_bar_ = nullptr;
  HICON icons_[2] = {};  // big, small
  HWND default_button_ = nullptr;
  // The control that had the focus when the window was last left.
  HWND kept_focus_ = nullptr;
  // An access key has just moved the focus to the control a label names.
  bool access_key_moved_ = false;
  std::map<UINT, MenuItem*> menu_items_;
  HWND owner_ = nullptr;
  // This window's tasks; a new window made by the same form gets new ones.
  std::shared_ptr<PostedTasks> posted_;
  friend int LoadedForms();
  static int loaded_forms_;
};

// The number of forms that are loaded.
int LoadedForms();
// Unloads every loaded form of the program, one after the other.
void UnloadAllForms();
// Runs the message loop until the last form is unloaded.
void RunMessageLoop();

}  // namespace platform
