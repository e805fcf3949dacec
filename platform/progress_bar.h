// A progress bar whose maximum and value may be any size (a row of several
// gigabytes as well as 100).
#pragma once

#include "platform/control.h"
#include "platform/time_spent.h"

namespace platform {

class ProgressBar : public Control {
 public:
  void Create(const Layout& layout);
  double maximum() const { return maximum_; }
  void set_maximum(double maximum) { maximum_ = maximum; Show(); }
  double value() const { return value_; }
  void set_value(double value) { value_ = value; Show(); }
  // The share of the bar drawn filled, 0 to kSteps.
  int position() const;
  static constexpr int kSteps = 10000;
  // Adds the time the bar takes to redraw to spent (nothing when null).
  void MeasureDrawingForTesting(TimeSpent* spent) { drawing_ = spent; }

 private:
  void Show();
  int DrawnPixels(int position) const;
  double maximum_ = 100;
  double value_ = 0;
  int shown_ = -1;  // the position the control was last given
  TimeSpent* drawing_ = nullptr;
};

}  // namespace platform
