// A picture from the program's resources, drawn on the window colour.
#pragma once

#include "platform/control.h"

namespace platform {

class Image : public Control {
 public:
  void Create(const Layout& layout, int picture_resource);
};

}  // namespace platform
