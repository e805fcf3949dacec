// The shared window procedure of the controls that paint themselves.
#include "platform/painted.h"

#include "platform/control.h"

namespace platform {
namespace {

LRESULT CALLBACK PaintedProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* painted = dynamic_cast<Painted*>(Control::FromHandle(hwnd));
  if (!painted) return DefWindowProcW(hwnd, msg, wparam, lparam);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      painted->Paint(dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      painted->Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole box
    default:
      return painted->HandleMessage(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

void Painted::RegisterPaintedClass(const wchar_t* class_name) { RegisterWindowClass(class_name, PaintedProc); }

LRESULT Painted::HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

RECT Painted::FillBackground(HWND hwnd, HDC dc) {
  RECT box;
  GetClientRect(hwnd, &box);
  auto background = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  FillRect(dc, &box, background ? background : GetSysColorBrush(COLOR_WINDOW));
  return box;
}

}  // namespace platform
