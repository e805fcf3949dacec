// Images.
#include "platform/image.h"

#include "platform/gdi_cache.h"

namespace platform {

void Image::Create(const Layout& layout, int picture_resource) {
  Control::Create(layout.parent->handle(), L"STATIC", WS_VISIBLE | SS_BITMAP, 0, layout.rect, L"",
                  layout.font);
  SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(PictureBitmap(picture_resource)));
  Place();  // setting a bitmap resizes the static; keep the laid-out box
}

}  // namespace platform
