// The two containers' window procedures.
#include "platform/panel.h"

#include <commctrl.h>

namespace platform {
namespace {

const wchar_t kPanelClass[] = L"TavrikPanel";

bool IsNotification(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
      return true;
    default:
      return false;
  }
}

// What both containers do alike; false for what is left to their own kind.
bool HandleContainerMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (IsNotification(msg)) {
    result = SendMessageW(GetParent(hwnd), msg, wparam, lparam);
    return true;
  }
  Control* control = Control::FromHandle(hwnd);
  if (msg == WM_MOUSEWHEEL && control && control->on_wheel) {
    control->on_wheel(GET_WHEEL_DELTA_WPARAM(wparam) < 0);
    result = 0;
    return true;
  }
  return false;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (HandleContainerMessage(hwnd, msg, wparam, lparam, result)) return result;
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

// A subclass of the system's group box: what it leaves goes on to the
// group box's own procedure.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                              DWORD_PTR) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, GroupBoxProc, id);
  LRESULT result = 0;
  if (HandleContainerMessage(hwnd, msg, wparam, lparam, result)) return result;
  // A group box answers hit tests as transparent; as a container it must
  // take the mouse so that moves over it reach the form.
  if (msg == WM_NCHITTEST) return HTCLIENT;
  // The form clips its children, so nobody else paints the frame's inside.
  if (msg == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_WINDOW));
    return TRUE;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

}  // namespace

void GroupBox::Create(const Layout& layout, const std::wstring& text) {
  role_ = AccessibleRole::kGrouping;
  Control::Create(layout.parent->handle(), L"BUTTON", WS_VISIBLE | BS_GROUPBOX | WS_CLIPCHILDREN,
                  WS_EX_CONTROLPARENT, layout.rect, text, layout.font);
  SetWindowSubclass(hwnd_, GroupBoxProc, 0, 0);
}

void Panel::Create(const Layout& layout) {
  RegisterWindowClass(kPanelClass, PanelProc);
  Control::Create(layout.parent->handle(), kPanelClass,
                  WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, layout.rect,
                  L"", layout.font);
}

}  // namespace platform
