// The progress bar keeps a fixed number of steps and shows value/maximum of
// them.
#include "platform/progress_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace platform {

void ProgressBar::Create(const Layout& layout) {
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

// A copy sets the value once per file and per chunk; only a change of the
// drawn share is worth a repaint.
void ProgressBar::Show() {
  if (position() == shown_) return;
  shown_ = position();
  SendMessageW(hwnd_, PBM_SETPOS, shown_, 0);
}

}  // namespace platform
