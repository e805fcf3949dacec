// A vertical scroll bar whose range runs from min to max, both reachable.
// A wheel notch over the bar is one line step.
#pragma once

#include <functional>

#include "platform/control.h"

namespace platform {

class ScrollBar : public Control {
 public:
  void Create(const Layout& layout, int min, int max, int value);
  int max() const { return max_; }
  void set_max(int max);
  int value() const { return value_; }
  void set_value(int value);
  int small_change = 1;
  int large_change = 1;
  // The value changed, by the program, a line or page step or the thumb.
  std::function<void()> on_change;
  void Scroll(int code) override;

 private:
  void Apply();
  int min_ = 0, max_ = 0, value_ = 0;
};

}  // namespace platform
