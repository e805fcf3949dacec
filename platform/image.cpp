// Images: a window class of the program's own that paints its picture with
// its alpha over the background its window hands out.
#include "platform/image.h"

#include <algorithm>

#include "platform/gdi_cache.h"

namespace platform {
namespace {

const wchar_t kImageClass[] = L"TavrikPicture";

}  // namespace

void Image::Create(const Layout& layout, int picture) {
  RegisterPaintedClass(kImageClass);
  picture_ = picture;
  role_ = AccessibleRole::kPicture;
  Control::Create(layout.parent->handle(), kImageClass, WS_VISIBLE, 0, layout.rect, L"",
                  layout.font);
}

LRESULT Image::HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;  // the mouse is the container's
  return Painted::HandleMessage(hwnd, msg, wparam, lparam);
}

void Image::Paint(HDC dc) const {
  const RECT box = FillBackground(hwnd_, dc);
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
