// A picture from the program's resources, drawn at the size of its box on
// its window's background, which shows through the picture's transparent
// parts: a picture stored larger than 16 pixels stays sharp at any scale.
#pragma once

#include "platform/control.h"
#include "platform/painted.h"

namespace platform {

class Image : public Control, public Painted {
 public:
  // picture: the picture's number among the program's resources (0: none).
  void Create(const Layout& layout, int picture);
  void Paint(HDC dc) const override;
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  int picture_ = 0;
};

}  // namespace platform
