// Forms: creation, menus, showing and the window procedure.
#include "platform/form.h"

#include <algorithm>
#include <cassert>
#include <memory>

#include "platform/gdi_cache.h"
#include "platform/message_loop.h"
#include "platform/program.h"

namespace platform {
namespace {

const wchar_t kFormClass[] = L"TavrikForm";
// A task posted through a Mailbox; its lParam owns a std::function.
constexpr UINT kPostedTask = WM_APP + 1;
int g_loaded_forms = 0;

void SetProgramIcon(HWND hwnd) {
  int resource = CurrentProgramFacts().icon_resource;
  if (!resource) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto icon = [&](int metric_x, int metric_y) {
    return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                               GetSystemMetrics(metric_x),
                                               GetSystemMetrics(metric_y), LR_SHARED));
  };
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
}

// The window's outer size for a client area of the form's twips.
void FitFrameToClient(HWND hwnd, const Rect& client, bool has_menu) {
  RECT frame = {0, 0, TwipsToPixels(client.width), TwipsToPixels(client.height)};
  AdjustWindowRectEx(&frame, GetWindowLongW(hwnd, GWL_STYLE), has_menu,
                     GetWindowLongW(hwnd, GWL_EXSTYLE));
  SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Form::~Form() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form::CreateForm(const Style& style, const Form* owner) {
  RegisterWindowClass(kFormClass, WindowProc);
  owner_ = owner ? owner->handle() : nullptr;
  font_ = style.font;
  DWORD window_style = WS_CLIPCHILDREN;
  if (style.border == Border::kFixedSingle)
    window_style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;
  else
    window_style |= WS_POPUP;
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, style.caption.c_str(), window_style,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_, nullptr,
                          GetModuleHandleW(nullptr), this);
  assert(hwnd_);
  ++g_loaded_forms;
  rect_.width = style.client_width;
  rect_.height = style.client_height;
  FitFrameToClient(hwnd_, rect_, false);
  SetProgramIcon(hwnd_);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
}

void Form::AddMenu(MenuItem& menu, const std::wstring& caption,
                   std::vector<std::pair<MenuItem*, std::wstring>> items) {
  if (!menu_bar_) menu_bar_ = CreateMenu();
  HMENU popup = CreatePopupMenu();
  for (auto& [item, text] : items) {
    item->menu_ = popup;
    item->id_ = 1000 + static_cast<UINT>(menu_items_.size());
    item->owner_ = hwnd_;
    menu_items_[item->id_] = item;
    AppendMenuW(popup, MF_STRING, item->id_, text.c_str());
  }
  AppendMenuW(menu_bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
  menu.menu_ = menu_bar_;
  menu.id_ = GetMenuItemCount(menu_bar_) - 1;
  menu.by_position_ = TRUE;
  menu.owner_ = hwnd_;
  // Adding the bar makes the window taller; the client area keeps its size.
  SetMenu(hwnd_, menu_bar_);
  FitFrameToClient(hwnd_, rect_, true);
}

int Form::client_width_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.right;
}

int Form::client_height_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

void Form::Unload() {
  if (!hwnd_) return;
  if (on_unload) on_unload();
  HWND hwnd = hwnd_;
  if (owner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
  DestroyWindow(hwnd);
}

void Form::CenterOnScreen() {
  RECT window;
  GetWindowRect(hwnd_, &window);
  int width = window.right - window.left, height = window.bottom - window.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnOwner() {
  if (!owner_) return CenterOnScreen();
  RECT owner, window;
  GetWindowRect(owner_, &owner);
  GetWindowRect(hwnd_, &window);
  int width = window.right - window.left, height = window.bottom - window.top;
  int left = owner.left + (owner.right - owner.left - width) / 2;
  int top = owner.top + (owner.bottom - owner.top - height) / 2;
  SetWindowPos(hwnd_, nullptr, std::max(0, left), std::max(0, top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void Form::ShowModal(Form& owner) {
  HWND self = hwnd_;
  EnableWindow(owner.handle(), FALSE);
  Show();
  PumpMessages(true, [self] { return IsWindow(self) != FALSE; });
  EnableWindow(owner.handle(), TRUE);
  SetForegroundWindow(owner.handle());
}

void Form::SetTopmost() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Mailbox::Post(std::function<void()> task) const {
  auto* posted = new std::function<void()>(std::move(task));
  if (!hwnd_ || !PostMessageW(hwnd_, kPostedTask, 0, reinterpret_cast<LPARAM>(posted)))
    delete posted;
}

void Form::SetShutdownReason(const std::wstring& reason) {
  if (reason.empty())
    ShutdownBlockReasonDestroy(hwnd_);
  else
    ShutdownBlockReasonCreate(hwnd_, reason.c_str());
}

UINT_PTR Form::AddTimer(Timer* timer) {
  UINT_PTR id = 1 + timers_.size();
  timers_[id] = timer;
  return id;
}

// ---- Messages ----

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = static_cast<Form*>(Control::FromHandle(hwnd));
  if (form) return form->HandleMessage(msg, wparam, lparam);
  return DefWindowProcW(hwnd, msg, wparam, lparam);
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
      return OnSetCursor(reinterpret_cast<HWND>(wparam), LOWORD(lparam), HIWORD(lparam));
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      break;
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
    case kPostedTask: {
      std::unique_ptr<std::function<void()>> task(
          reinterpret_cast<std::function<void()>*>(lparam));
      (*task)();
      return 0;
    }
    case WM_NCDESTROY:
      return OnDestroyed(wparam, lparam);
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wparam, lparam);
}

// A menu item (no control) or a control's notification.
void Form::OnCommand(int id, int code, HWND control) {
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

LRESULT Form::OnControlColor(HDC dc, HWND control) {
  Control* sender = FromHandle(control);
  COLORREF fore = sender && sender->fore_color() != CLR_INVALID ? sender->fore_color()
                                                                : WindowTextColor();
  COLORREF back = sender && sender->back_color() != CLR_INVALID ? sender->back_color()
                                                                : WindowColor();
  SetTextColor(dc, fore);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

bool Form::OnSetCursor(HWND under_mouse, int hit, UINT mouse_message) {
  Control* control = FromHandle(under_mouse);
  if (!control) return false;
  if (mouse_message == WM_MOUSEMOVE && control->on_mouse_move) control->on_mouse_move();
  if (!control->hand_cursor || hit != HTCLIENT) return false;
  SetCursor(HandCursor());
  return true;
}

void Form::OnTimer(UINT_PTR id) {
  auto timer = timers_.find(id);
  if (timer != timers_.end() && timer->second->on_tick) timer->second->on_tick();
}

void Form::OnActivate(bool active) {
  if (active && on_activate) on_activate();
}

LRESULT Form::OnDestroyed(WPARAM wparam, LPARAM lparam) {
  LRESULT result = DefWindowProcW(hwnd_, WM_NCDESTROY, wparam, lparam);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  // The message loop ends once no form is left. A close sent from another
  // program is handled inside GetMessage, which would then go on waiting:
  // an empty message wakes it to notice. (A quit message would also stop
  // every later yield.)
  if (--g_loaded_forms == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
  return result;
}

int LoadedForms() { return g_loaded_forms; }

namespace {
BOOL CALLBACK AddForm(HWND hwnd, LPARAM forms) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (wcscmp(name, kFormClass) == 0) reinterpret_cast<std::vector<HWND>*>(forms)->push_back(hwnd);
  return TRUE;
}
}  // namespace

void UnloadAllForms() {
  std::vector<HWND> forms;
  EnumThreadWindows(GetCurrentThreadId(), AddForm, reinterpret_cast<LPARAM>(&forms));
  // Unloading one form may unload others (its on_unload), so each is looked
  // up again before it goes.
  for (HWND hwnd : forms) {
    if (auto* form = static_cast<Form*>(Control::FromHandle(hwnd))) form->Unload();
  }
}

}  // namespace platform
