// A one-pixel line in the window-text colour, between two points in twips.
#pragma once

#include "platform/control.h"

namespace platform {

class Line : public Control {
 public:
  void Create(const Control& parent, int x1, int y1, int x2, int y2);
};

}  // namespace platform
