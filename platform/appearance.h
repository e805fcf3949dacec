// Where a control sits and how it looks: places in twips (1/1440 inch),
// fonts and colours, the DPI that turns twips into pixels, and the user's
// high-contrast setting, under which the colour scheme's pairs replace every
// colour the program picks itself. The controls and the drawing objects
// they share both build on these.
#pragma once

#include <optional>
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
constexpr COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

// Whether the user runs a high-contrast scheme. Read from the system at the
// first call and again after RefreshHighContrast (the windows call it when
// the system says its colours or settings changed).
bool HighContrastOn();
void RefreshHighContrast();
// Stands in for the system's setting while set (tests, where the system
// keeps none); nothing gives the system's back.
void OverrideHighContrast(std::optional<bool> on);

// How a control shows its text: plain, or as a link.
enum class TextUse { kPlain, kLink };
struct ColorPair {
  COLORREF text, back;
};
// The colours a control is drawn in. The program's own (CLR_INVALID: none)
// hold outside high contrast; under it the scheme's pairs do: window text
// on window, a background the program marks (anything but plain white) as
// highlight text on highlight. Links are in the system's link colour
// (COLOR_HOTLIGHT); outside high contrast, a scheme whose link colour
// hardly differs from its window colour gets the window text colour.
ColorPair ControlColors(TextUse use, COLORREF program_text, COLORREF program_back);
// How far apart two colours are to the eye: 1 (the same) to 21 (black and
// white); text wants 4.5 against its background.
double ContrastRatio(COLORREF one, COLORREF other);

// The DPI of the system (the primary screen at log-on), and of a window:
// the monitor's it is on when the program is per-monitor aware.
int SystemDpi();
int WindowDpi(HWND hwnd);
constexpr int kDefaultDpi = 96;
int TwipsToPixels(int twips, int dpi);

// A window frame's outer size around a client area at a DPI.
SIZE FrameSizeFor(HWND hwnd, SIZE client, bool has_menu, int dpi);

}  // namespace platform
