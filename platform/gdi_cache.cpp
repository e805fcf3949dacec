// Fonts, brushes, pictures and the hand cursor, each made on first use.
// Pictures are decoded and scaled by the system's imaging component (WIC).
#include "platform/gdi_cache.h"

#include <wincodec.h>

#include <cmath>
#include <map>
#include <tuple>

#include "platform/program.h"

namespace platform {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// Releases a COM interface when it goes.
template <typename Interface>
struct Held {
  Interface* p = nullptr;
  ~Held() {
    if (p) p->Release();
  }
  Interface** operator&() { return &p; }
  Interface* operator->() const { return p; }
};

// The stored size to draw size pixels from.
int StoredSize(int picture, int size) {
  static const int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 160, 192, 256};
  int largest = 0;
  for (int stored : kSizes) {
    if (!FindResourceW(Instance(), MAKEINTRESOURCEW(picture * 1000 + stored), RT_RCDATA)) continue;
    if (stored >= size) return stored;
    largest = stored;
  }
  return largest;
}

HBITMAP DecodePicture(int picture, int size) {
  const int stored = StoredSize(picture, size);
  HRSRC found = stored ? FindResourceW(Instance(), MAKEINTRESOURCEW(picture * 1000 + stored), RT_RCDATA)
                       : nullptr;
  if (!found) return nullptr;
  auto* data = static_cast<BYTE*>(LockResource(LoadResource(Instance(), found)));
  Held<IWICImagingFactory> factory;
  Held<IWICStream> stream;
  Held<IWICBitmapDecoder> decoder;
  Held<IWICBitmapFrameDecode> frame;
  Held<IWICBitmapScaler> scaler;
  Held<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(data, SizeofResource(Instance(), found))) ||
      FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateBitmapScaler(&scaler)) ||
      FAILED(scaler->Initialize(frame.p, size, size, WICBitmapInterpolationModeFant)) ||
      FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(scaler.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom)))
    return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && FAILED(converter->CopyPixels(nullptr, size * 4, size * size * 4,
                                             static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace

HFONT FontHandle(const Font& font, int dpi) {
  static std::map<std::tuple<std::wstring, double, bool, bool, int>, HFONT> fonts;
  auto key = std::make_tuple(font.name, font.points, font.bold, font.underline, dpi);
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
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

HBITMAP PictureBitmap(int picture, int size) {
  static std::map<std::pair<int, int>, HBITMAP> pictures;
  HBITMAP& bitmap = pictures[{picture, size}];
  if (!bitmap && size > 0) bitmap = DecodePicture(picture, size);
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
