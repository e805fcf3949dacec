// Lines.
#include "platform/line.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

void Line::Create(const Control& parent, int x1, int y1, int x2, int y2) {
  Rect rect{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
  Control::Create(parent.handle(), L"STATIC", WS_VISIBLE, 0, rect, L"", Font{});
  back_ = WindowTextColor();
  // One pixel across, whatever the DPI.
  int one = MulDiv(1, 1440, ScreenDpi());
  if (rect.width == 0) rect_.width = one;
  if (rect.height == 0) rect_.height = one;
  Place();
}

}  // namespace platform
