// A picture from the program's resources, drawn at the size of its box on
// its window's background, which shows through the picture's transparent
// parts: a picture stored larger than 16 pixels stays sharp at any scale.
#pragma once

#include "platform/control.h"

namespace platform {

class Image : public Control {
 public:
  // picture: the picture's number among the program's resources (0: none).
  void Create(const Layout& layout, int picture);
  // Draws the box into dc: the window's own paint, or a print of it.
  void Paint(HDC dc) const;

 private:
  int picture_ = 0;
};

}  // namespace platform
