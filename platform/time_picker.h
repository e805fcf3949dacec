// A date-time picker in time format (DTS_TIMEFORMAT, DATETIMEPICK_CLASS)
// showing hours and minutes in the user's short time format.
#pragma once

#include "platform/control.h"

namespace platform {

class TimePicker : public Control {
 public:
  void Create(const Layout& layout);
  int hour() const;
  int minute() const;
  void SetTime(int hour, int minute);
};

}  // namespace platform
