// Containers: a captioned frame (group box) and a plain panel that clips its
// children (the list panel is one). Both pass their children's
// notifications up to the window, so that nesting changes nothing, and
// a wheel notch from a child to on_wheel when it is set.
#pragma once

#include "platform/control.h"

namespace platform {

class GroupBox : public Control {
 public:
  void Create(const Layout& layout, const std::wstring& text);
};

class Panel : public Control {
 public:
  void Create(const Layout& layout);
};

}  // namespace platform
