// Fonts, brushes, pictures and the hand cursor, each made on first use.
#include "platform/gdi_cache.h"

#include <ole2.h>
#include <olectl.h>

#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/program.h"

namespace platform {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HBITMAP LoadPicture(int resource) {
  HRSRC found = FindResourceW(Instance(), MAKEINTRESOURCEW(resource), RT_RCDATA);
  if (!found) return nullptr;
  DWORD size = SizeofResource(Instance(), found);
  const void* data = LockResource(LoadResource(Instance(), found));
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  memcpy(GlobalLock(copy), data, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT loaded = OleLoadPicture(stream, size, FALSE, IID_IPicture,
                                  reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || !picture) return nullptr;
  OLE_XSIZE_HIMETRIC himetric_width = 0;
  OLE_YSIZE_HIMETRIC himetric_height = 0;
  picture->get_Width(&himetric_width);
  picture->get_Height(&himetric_height);
  HDC screen = GetDC(nullptr);
  // The pictures are drawn at their own pixel size.
  int width = MulDiv(himetric_width, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  int height = MulDiv(himetric_height, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(memory, &all, BrushFor(WindowColor()));
  picture->Render(memory, 0, 0, width, height, 0, himetric_height, himetric_width,
                  -himetric_height, nullptr);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  picture->Release();
  return bitmap;
}


}  // namespace

HFONT FontHandle(const Font& font) {
  static std::map<std::tuple<std::wstring, double, bool, bool>, HFONT> fonts;
  auto key = std::make_tuple(font.name, font.points, font.bold, font.underline);
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  int height = -static_cast<int>(std::lround(font.points * ScreenDpi() / 72.0));
  HFONT handle = CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.name.c_str());
  fonts[key] = handle;
  return handle;
}

HBRUSH BrushFor(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  auto found = brushes.find(color);
  if (found != brushes.end()) return found->second;
  return brushes[color] = CreateSolidBrush(color);
}

HBITMAP PictureBitmap(int resource) {
  static std::map<int, HBITMAP> pictures;
  HBITMAP& bitmap = pictures[resource];
  if (!bitmap) bitmap = LoadPicture(resource);
  return bitmap;
}

HCURSOR HandCursor() {
  static HCURSOR hand = [] {
    int resource = CurrentProgramFacts().hand_cursor_resource;
    HCURSOR own = resource ? LoadCursorW(Instance(), MAKEINTRESOURCEW(resource)) : nullptr;
    return own ? own : LoadCursorW(nullptr, IDC_HAND);
  }();
  return hand;
}

}  // namespace platform
