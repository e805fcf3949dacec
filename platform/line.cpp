// Lines.
#include "platform/line.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

void Line::Create(const Control& parent, int x1, int y1, int x2, int y2) {
  Rect rect{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
  across_ = rect.height == 0;
  down_ = rect.width == 0;
  Control::Create(parent.handle(), L"STATIC", WS_VISIBLE, 0, rect, L"", Font{});
  FitOnePixel();
}

void Line::SetDpi(int dpi) {
  dpi_ = dpi;
  FitOnePixel();
}

// One pixel thick, whatever the DPI.
void Line::FitOnePixel() {
  const int one = MulDiv(1, 1440, dpi_);
  if (down_) rect_.width = one;
  if (across_) rect_.height = one;
  Place();
}

}  // namespace platform
