// Where a control sits and how it looks: places in twips (1/1440 inch),
// fonts and colours, and the screen's DPI that turns twips into pixels.
// The controls and the drawing objects they share both build on these.
#pragma once

#include <string>

#include <windows.h>

namespace platform {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;  // twips
};

struct Font {
  std::wstring name = L"Tahoma";
  double points = 12;
  bool bold = false;
  bool underline = false;
};

// Colours the program names: the system colours and plain RGB values.
COLORREF WindowColor();
COLORREF WindowTextColor();
COLORREF ActiveCaptionColor();
COLORREF DesktopColor();
constexpr COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

int ScreenDpi();
int TwipsToPixels(int twips);

}  // namespace platform
