// System colours and the screen's DPI.
#include "platform/appearance.h"

namespace platform {

COLORREF WindowColor() { return GetSysColor(COLOR_WINDOW); }
COLORREF WindowTextColor() { return GetSysColor(COLOR_WINDOWTEXT); }
COLORREF ActiveCaptionColor() { return GetSysColor(COLOR_ACTIVECAPTION); }
COLORREF DesktopColor() { return GetSysColor(COLOR_BACKGROUND); }

int ScreenDpi() {
  static int dpi = [] {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int TwipsToPixels(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

}  // namespace platform
