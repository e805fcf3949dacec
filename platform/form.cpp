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

}  // namespace

Form::~Form() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  for (HICON icon : icons_)
    if (icon) DestroyIcon(icon);
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
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, style.title.c_str(), window_style,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_, nullptr,
                          GetModuleHandleW(nullptr), this);
  assert(hwnd_);
  ++loaded_forms_;
  dpi_ = WindowDpi(hwnd_);
  rect_.width = style.client_width;
  rect_.height = style.client_height;
  FitFrameToClient();
  SetProgramIcon();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_, dpi_)), FALSE);
}

// The icons at the sizes the window's scale asks for: a 16-pixel caption
// icon becomes 32 pixels at twice the scale, drawn from the icon's own
// larger images. (A shared icon would keep the first size loaded.)
void Form::SetProgramIcon() {
  int resource = CurrentProgramFacts().icon_resource;
  if (!resource) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int sizes[] = {32, 16};  // ICON_BIG, ICON_SMALL at 96 DPI
  for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
    const int size = MulDiv(sizes[kind == ICON_SMALL], dpi_, kDefaultDpi);
    HICON icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, 0));
    SendMessageW(hwnd_, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    HICON& kept = icons_[kind == ICON_SMALL];
    if (kept) DestroyIcon(kept);
    kept = icon;
  }
}

// The frame is sized for the client area at the window's DPI; what the
// system then gives the client area is measured and made up for, whatever
// frame and menu bar the system draws at that DPI.
void Form::FitFrameToClient() {
  const SIZE client = {Pixels(rect_.width), Pixels(rect_.height)};
  const SIZE frame = FrameSizeFor(hwnd_, client, menu_bar_ != nullptr, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT got;
  GetClientRect(hwnd_, &got);
  if (got.right == client.cx && got.bottom == client.cy) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx + client.cx - got.right,
               frame.cy + client.cy - got.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// At a new scale every control is placed and lettered anew from its twips;
// the window takes the place the system suggests, at the size of its own
// layout.
void Form::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_, dpi_)), FALSE);
  EnumChildWindows(
      hwnd_,
      [](HWND child, LPARAM dpi) {
        if (Control* control = FromHandle(child)) control->SetDpi(static_cast<int>(dpi));
        return TRUE;
      },
      dpi);
  FitFrameToClient();
  SetProgramIcon();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// New colours (a high-contrast scheme on or off): the common controls are
// told, as a window must tell them, and everything is drawn again.
void Form::OnColorsChanged() {
  RefreshHighContrast();
  EnumChildWindows(
      hwnd_,
      [](HWND child, LPARAM) {
        SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
        return TRUE;
      },
      0);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Form::AddMenu(MenuItem& menu, const std::wstring& menu_text,
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
  AppendMenuW(menu_bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), menu_text.c_str());
  menu.menu_ = menu_bar_;
  menu.id_ = GetMenuItemCount(menu_bar_) - 1;
  menu.by_position_ = TRUE;
  menu.owner_ = hwnd_;
  // Adding the bar makes the window taller; the client area keeps its size.
  SetMenu(hwnd_, menu_bar_);
  FitFrameToClient();
}

int Form::client_height_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

int Form::client_width_px() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.right;
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

// The access keys' underlines and the focus rectangle show as the user's
// setting and the last input say (after Alt, or always).
void Form::Show() {
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
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

bool Form::in_front() const {
  HWND front = GetForegroundWindow();
  return front && GetAncestor(front, GA_ROOTOWNER) == hwnd_;
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
