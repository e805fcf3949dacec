// Images: a window class of the program's own that paints its picture with
// its alpha over the background its window hands out.
#include "platform/image.h"

#include <algorithm>

#include "platform/gdi_cache.h"

namespace platform {
namespace {

const wchar_t kImageClass[] = L"TavrikPicture";

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  const auto* image = static_cast<const Image*>(Control::FromHandle(hwnd));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (image) image->Paint(dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (image) image->Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole box
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse is the container's
    default:
      return DefWindowProcW(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

void Image::Create(const Layout& layout, int picture) {
  RegisterWindowClass(kImageClass, ImageProc);
  picture_ = picture;
  role_ = AccessibleRole::kPicture;
  Control::Create(layout.parent->handle(), kImageClass, WS_VISIBLE, 0, layout.rect, L"",
                  layout.font);
}

void Image::Paint(HDC dc) const {
  RECT box;
  GetClientRect(hwnd_, &box);
  auto background = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(hwnd_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &box, background ? background : GetSysColorBrush(COLOR_WINDOW));
  const int size = std::min(box.right, box.bottom);
  HBITMAP picture = picture_ ? PictureBitmap(picture_, size) : nullptr;
  if (!picture) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture);
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, 0, 0, size, size, memory, 0, 0, size, size, blend);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace platform
