// Forms: creation, menus, showing, and the count of loaded forms that keeps
// the message loop going.
#include "platform/form.h"

#include <algorithm>
#include <cassert>

#include "platform/gdi_cache.h"
#include "platform/message_loop.h"
#include "platform/program.h"

namespace platform {
namespace {

const wchar_t kFormClass[] = L"TavrikForm";

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
  ++loaded_forms_;
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
    if (!item) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
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

void Form::SetShutdownReason(const std::wstring& reason) {
  if (reason.empty())
    ShutdownBlockReasonDestroy(hwnd_);
  else
    ShutdownBlockReasonCreate(hwnd_, reason.c_str());
}

int Form::loaded_forms_ = 0;

int LoadedForms() { return Form::loaded_forms_; }

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

void RunMessageLoop() {
  PumpMessages(true, [] { return LoadedForms() > 0; });
}

}  // namespace platform
