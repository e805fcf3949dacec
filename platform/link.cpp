// Links: a window class of the program's own, painted in the colours its
// window hands out for it, taking the keys a link takes.
#include "platform/link.h"

#include "platform/gdi_cache.h"

namespace platform {
namespace {

const wchar_t kLinkClass[] = L"TavrikLink";

// Whether the left button went down on the link, so that its release there
// is a click.
constexpr wchar_t kPressed[] = L"TavrikLinkPressed";

}  // namespace

LRESULT Link::HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      LRESULT result = DefWindowProcW(hwnd, msg, wparam, lparam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_GETDLGCODE: {
      // Enter is the link's own, not the window's default button; typed
      // characters are not access keys of other controls.
      const MSG* key = reinterpret_cast<const MSG*>(lparam);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return DLGC_WANTCHARS;
    }
    case WM_KEYDOWN:
      if (wparam == VK_RETURN || wparam == VK_SPACE) Click();
      return 0;
    case WM_LBUTTONDOWN:
      SetPropW(hwnd, kPressed, reinterpret_cast<HANDLE>(1));
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      const bool pressed = RemovePropW(hwnd, kPressed) != nullptr;
      ReleaseCapture();
      RECT box;
      GetClientRect(hwnd, &box);
      const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (pressed && PtInRect(&box, at)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      RemovePropW(hwnd, kPressed);
      return 0;
    default:
      return Painted::HandleMessage(hwnd, msg, wparam, lparam);
  }
}

void Link::Create(const Layout& layout, const std::wstring& text) {
  RegisterPaintedClass(kLinkClass);
  role_ = AccessibleRole::kLink;
  text_use_ = TextUse::kLink;
  hand_cursor = true;
  Control::Create(layout.parent->handle(), kLinkClass, WS_VISIBLE | WS_TABSTOP, 0, layout.rect, text,
                  layout.font);
}

void Link::Paint(HDC dc) const {
  // The window sets the text colour and gives the background's brush.
  const RECT box = FillBackground(hwnd_, dc);
  if (!IsWindowEnabled(hwnd_)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ old_font = SelectObject(dc, FontHandle(font_, dpi_));
  SetBkMode(dc, TRANSPARENT);
  const std::wstring shown = text();
  RECT text_box = box;
  DrawTextW(dc, shown.c_str(), -1, &text_box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  DrawTextW(dc, shown.c_str(), -1, &text_box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  const bool hide_focus = SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
  if (GetFocus() == hwnd_ && !hide_focus) {
    IntersectRect(&text_box, &text_box, &box);
    DrawFocusRect(dc, &text_box);
  }
  SelectObject(dc, old_font);
}

}  // namespace platform
