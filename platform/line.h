// A one-pixel line in the window-text colour (the scheme's, whatever it is
// now), between two points in twips.
#pragma once

#include "platform/control.h"

namespace platform {

class Line : public Control {
 public:
  void Create(const Control& parent, int x1, int y1, int x2, int y2);
  ColorPair colors() const override { return {WindowTextColor(), WindowTextColor()}; }
  void SetDpi(int dpi) override;

 private:
  void FitOnePixel();
  bool across_ = false, down_ = false;  // which way it runs
};

}  // namespace platform
