// System colours, the high-contrast setting and DPIs.
#include "platform/appearance.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

std::optional<bool>& HighContrastOverride() {
  static std::optional<bool> on;
  return on;
}

bool ReadHighContrast() {
  HIGHCONTRASTW setting = {sizeof(setting)};
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

bool& HighContrastSeen() {
  static bool on = ReadHighContrast();
  return on;
}

// Functions of Windows 10 (1607 and later), looked up so that the program
// still starts on the older systems it supports.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

COLORREF WindowColor() { return GetSysColor(COLOR_WINDOW); }
COLORREF WindowTextColor() { return GetSysColor(COLOR_WINDOWTEXT); }

bool HighContrastOn() {
  if (HighContrastOverride()) return *HighContrastOverride();
  return HighContrastSeen();
}

void RefreshHighContrast() { HighContrastSeen() = ReadHighContrast(); }

void OverrideHighContrast(std::optional<bool> on) { HighContrastOverride() = on; }

ColorPair ControlColors(TextUse use, COLORREF program_text, COLORREF program_back) {
  constexpr COLORREF kPlainWhite = RGB(255, 255, 255);
  const bool marked = program_back != CLR_INVALID && program_back != kPlainWhite;
  if (HighContrastOn()) {
    if (use == TextUse::kLink) return {GetSysColor(COLOR_HOTLIGHT), WindowColor()};
    if (marked) return {GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
    return {WindowTextColor(), WindowColor()};
  }
  const COLORREF back = program_back != CLR_INVALID ? program_back : WindowColor();
  if (use == TextUse::kLink) {
    constexpr double kReadable = 4.5;
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    return {ContrastRatio(link, back) >= kReadable ? link : WindowTextColor(), back};
  }
  return {program_text != CLR_INVALID ? program_text : WindowTextColor(), back};
}

double ContrastRatio(COLORREF one, COLORREF other) {
  auto luminance = [](COLORREF color) {
    auto linear = [](int channel) {
      const double c = channel / 255.0;
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(color)) + 0.7152 * linear(GetGValue(color)) +
           0.0722 * linear(GetBValue(color));
  };
  const double a = luminance(one), b = luminance(other);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

int SystemDpi() {
  static int dpi = [] {
    HDC screen = GetDC(nullptr);
    int value = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : kDefaultDpi;
  }();
  return dpi;
}

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const int dpi = get_dpi && hwnd ? static_cast<int>(get_dpi(hwnd)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

SIZE FrameSizeFor(HWND hwnd, SIZE client, bool has_menu, int dpi) {
  using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
  RECT frame = {0, 0, client.cx, client.cy};
  const DWORD style = GetWindowLongW(hwnd, GWL_STYLE), ex_style = GetWindowLongW(hwnd, GWL_EXSTYLE);
  if (adjust_for_dpi)
    adjust_for_dpi(&frame, style, has_menu, ex_style, dpi);
  else
    AdjustWindowRectEx(&frame, style, has_menu, ex_style);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace platform
