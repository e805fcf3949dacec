// A top-level window. Its window procedure (form_messages.cpp) turns
// messages into calls on its controls, its menu items and timers, and the
// handlers below.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/control.h"
#include "platform/menu_item.h"

namespace platform {

// Hands work to a window's thread from any thread: each task runs there, in
// the order posted, as the window's messages are handled. Tasks posted after
// the window is gone are dropped.
class Mailbox {
 public:
  Mailbox() = default;
  void Post(std::function<void()> task) const;

 private:
  friend class Form;
  explicit Mailbox(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd_ = nullptr;
};

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

  // A menu bar entry and its items, in order; a null item is a separator.
  void AddMenu(MenuItem& menu, const std::wstring& caption,
               std::vector<std::pair<MenuItem*, std::wstring>> items);

  int client_height_px() const;

  // The way other threads reach this window.
  Mailbox mailbox() const { return Mailbox(hwnd_); }

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

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code, HWND control);
  void OnScroll(int code, HWND control);
  LRESULT OnControlColor(HDC dc, HWND control);
  bool OnSetCursor(HWND under_mouse, int hit, UINT mouse_message);
  void OnTimer(UINT_PTR id);
  void OnActivate(bool active);
  LRESULT OnDestroyed(WPARAM wparam, LPARAM lparam);

  HMENU menu_bar_ = nullptr;
  std::map<UINT, MenuItem*> menu_items_;
  HWND owner_ = nullptr;
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
