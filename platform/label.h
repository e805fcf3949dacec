// A static text; a clickable one serves as a link.
#pragma once

#include "platform/control.h"

namespace platform {

class Label : public Control {
 public:
  enum class Align { kLeft, kRight };
  void Create(const Layout& layout, const std::wstring& text, Align align = Align::kLeft,
              bool clickable = false);
  void Command(int code) override;
};

}  // namespace platform
