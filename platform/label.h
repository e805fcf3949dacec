// A static text. One whose text holds an access key ("&Backup to:") hands
// the focus to the control it names when the key is pressed.
#pragma once

#include "platform/control.h"

namespace platform {

class Label : public Control {
 public:
  enum class Align { kLeft, kRight };
  void Create(const Layout& layout, const std::wstring& text, Align align = Align::kLeft);
  // The access key in the text (underlined as the user's setting says)
  // moves the focus to target.
  void GiveAccessKeyTo(const Control& target);
  const Control* access_key_target() const { return access_key_target_; }

 private:
  const Control* access_key_target_ = nullptr;
};

}  // namespace platform
