// A form's window procedure: each message becomes a call on the control,
// menu item or timer it concerns, or on one of the form's handlers.
#include "platform/form.h"

#include <windowsx.h>

#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

#include "platform/gdi_cache.h"
#include "platform/program.h"
#include "platform/timer.h"

namespace platform {
namespace {

// One task posted through a Mailbox is waiting in the window's PostedTasks.
constexpr UINT kPostedTask = WM_APP + 1;
// The program's exit code after an error it did not foresee.
constexpr UINT kUnexpectedErrorExitCode = 3;

// Per-monitor scaling (Windows 10 1703 and later) asks the window's size at
// a new DPI before it moves it there.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

std::function<void(const std::wstring& what)> Form::on_unexpected_error;

// Nothing the run leaves is lost by ending here: a copy in progress has not
// taken its real name, and the next run removes its temporary file.
void Form::EndOnUnexpectedError(const char* what) {
  const std::wstring text = std::wstring(what, what + std::strlen(what));
  if (on_unexpected_error) return on_unexpected_error(text);
  const ProgramFacts& facts = CurrentProgramFacts();
  MessageBoxW(nullptr, (facts.unexpected_error + text).c_str(), facts.title.c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(kUnexpectedErrorExitCode);
}

// Any thread posts; the window's thread runs the tasks and, when the window
// is destroyed, frees those still waiting and closes the queue (hwnd null).
// The message only says that one is waiting, so a message the system drops
// with its window owns nothing.
struct PostedTasks {
  std::mutex mutex;
  HWND hwnd = nullptr;
  std::deque<std::function<void()>> tasks;
};

void Mailbox::Post(std::function<void()> task) const {
  if (!tasks_) return;
  std::function<void()> refused;  // freed after the lock is let go
  std::lock_guard<std::mutex> lock(tasks_->mutex);
  if (!tasks_->hwnd) {
    refused = std::move(task);
    return;
  }
  tasks_->tasks.push_back(std::move(task));
  if (!PostMessageW(tasks_->hwnd, kPostedTask, 0, 0)) {
    refused = std::move(tasks_->tasks.back());
    tasks_->tasks.pop_back();
  }
}

void Form::RunPostedTask() {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> lock(posted_->mutex);
    if (posted_->tasks.empty()) return;
    task = std::move(posted_->tasks.front());
    posted_->tasks.pop_front();
  }
  task();
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = hwnd;
    form->posted_ = std::make_shared<PostedTasks>();
    form->posted_->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = static_cast<Form*>(Control::FromHandle(hwnd));
  if (!form) return DefWindowProcW(hwnd, msg, wparam, lparam);
  try {
    return form->HandleMessage(msg, wparam, lparam);
  } catch (const std::exception& error) {
    EndOnUnexpectedError(error.what());
  } catch (...) {
    EndOnUnexpectedError("?");
  }
  return 0;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_VSCROLL:
      OnScroll(LOWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_SETCURSOR:
      // A child's own cursor (the text box's I-beam) stays unless the
      // control shows the hand.
      if (reinterpret_cast<HWND>(wparam) == hwnd_) break;
      return OnSetCursor(reinterpret_cast<HWND>(wparam), LOWORD(lparam));
    case WM_MOUSEWHEEL: {
      const POINT at = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (RouteWheelNotch(hwnd_, at, GET_WHEEL_DELTA_WPARAM(wparam) < 0)) return 0;
      break;
    }
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_ACTIVATE:
      // A minimized window gets its focus back when it is restored.
      if (HIWORD(wparam)) break;
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_NEXTDLGCTL:
      OnNextControl(reinterpret_cast<HWND>(wparam), LOWORD(lparam) != 0, wparam != 0);
      return 0;
    case DM_GETDEFID:
      return OnDefaultButton();
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case kGetDpiScaledSize: {
      const int dpi = static_cast<int>(wparam);
      *reinterpret_cast<SIZE*>(lparam) = FrameSizeFor(
          hwnd_, {TwipsToPixels(rect_.width, dpi), TwipsToPixels(rect_.height, dpi)},
          menu_bar_ != nullptr, dpi);
      return TRUE;
    }
    case WM_SYSCOLORCHANGE:
      OnColorsChanged();
      break;
    case WM_SETTINGCHANGE: {
      // Many settings change; only the high-contrast one redraws the window.
      const bool was_on = HighContrastOn();
      RefreshHighContrast();
      if (HighContrastOn() != was_on) OnColorsChanged();
      break;
    }
    case WM_CLOSE:
      if (on_close)
        on_close();
      else
        Unload();
      return 0;
    case WM_QUERYENDSESSION:
      return on_query_end_session ? on_query_end_session() : TRUE;
    case WM_ENDSESSION:
      if (wparam && on_end_session) on_end_session();
      return 0;
    case kPostedTask:
      RunPostedTask();
      return 0;
    case WM_NCDESTROY:
      return OnDestroyed(wparam, lparam);
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

// A menu item (no control) or a control's notification; Esc and Enter come
// as the commands of a dialog's cancel and default buttons.
void Form::OnCommand(int id, int code, HWND control) {
  if (id == IDCANCEL && !control && OnCancelCommand()) return;
  // Enter's command names the default button by its id, which the dialog
  // keys may find first on another control's own child (a time picker's
  // arrows carry the same id).
  if (id == IDOK && control && !FromHandle(control) && default_button_) control = default_button_;
  if (control && !IsWindowEnabled(control)) return;
  if (!control) {
    auto item = menu_items_.find(id);
    if (item != menu_items_.end() && item->second->on_click) item->second->on_click();
  } else if (Control* sender = FromHandle(control)) {
    sender->Command(code);
  }
}

void Form::OnScroll(int code, HWND control) {
  if (Control* bar = FromHandle(control)) bar->Scroll(code);
}

// Every control of the window asks here for its colours: the program's own,
// or the colour scheme's pairs under high contrast (ControlColors).
LRESULT Form::OnControlColor(HDC dc, HWND control) {
  const Control* sender = FromHandle(control);
  const ColorPair colors = sender ? sender->colors() : ColorPair{WindowTextColor(), WindowColor()};
  SetTextColor(dc, colors.text);
  SetBkColor(dc, colors.back);
  return reinterpret_cast<LRESULT>(BrushFor(colors.back));
}

bool Form::OnSetCursor(HWND under_mouse, int hit) {
  Control* control = FromHandle(under_mouse);
  if (!control || !control->hand_cursor || hit != HTCLIENT) return false;
  SetCursor(HandCursor());
  return true;
}

void Form::OnTimer(UINT_PTR id) {
  RunTimer(hwnd_, id);
}

// A window left keeps where its focus was, and gives it back when the user
// comes back to it (from another program, or once a window it owns closes).
void Form::OnActivate(bool active) {
  if (!active) return KeepFocus();
  RestoreFocus();
  if (on_activate) on_activate();
}

LRESULT Form::OnDestroyed(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefWindowProcW(hwnd_, WM_NCDESTROY, wparam, lparam);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  // What was posted and never ran is freed here, on the window's thread.
  std::deque<std::function<void()>> unrun;
  {
    std::lock_guard<std::mutex> lock(posted_->mutex);
    posted_->hwnd = nullptr;
    unrun.swap(posted_->tasks);
  }
  unrun.clear();
  // The message loop ends once no form is left. A close sent from another
  // program is handled inside GetMessage, which would then go on waiting:
  // an empty message wakes it to notice. (A quit message would also stop
  // every later yield.)
  if (--loaded_forms_ == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  return result;
}

}  // namespace platform
