// The progress bar keeps a fixed number of steps and shows value/maximum of
// them.
#include "platform/progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace platform {

void ProgressBar::Create(const Layout& layout) {
  role_ = AccessibleRole::kProgressBar;
  Control::Create(layout.parent->handle(), PROGRESS_CLASSW, WS_VISIBLE, 0, layout.rect, L"",
                  layout.font);
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, kSteps);
  Show();
}

int ProgressBar::position() const {
  if (maximum_ <= 0) return 0;
  double share = std::clamp(value_ / maximum_, 0.0, 1.0);
  return static_cast<int>(std::lround(share * kSteps));
}

// A copy sets the value once per file and per chunk, and the control
// repaints itself at once for each new position it is given: on a row of
// many small files that was a repaint every few files, each costing more
// than copying them. Only a change of at least one pixel of the bar's width
// is given to the control.
void ProgressBar::Show() {
  const int position = this->position();
  if (position == shown_) return;
  if (shown_ >= 0 && DrawnPixels(position) == DrawnPixels(shown_)) return;
  shown_ = position;
  MeasuredScope measure(drawing_);
  SendMessageW(hwnd_, PBM_SETPOS, shown_, 0);
}

// How much of the bar a position fills, in pixels; the full and the empty
// bar are their own values, so both are always drawn.
int ProgressBar::DrawnPixels(int position) const {
  const int width = std::max(Pixels(rect_.width), 1);
  if (position >= kSteps) return width + 1;
  return static_cast<int>(static_cast<long long>(position) * width / kSteps);
}

}  // namespace platform
