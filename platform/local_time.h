// The local time to the minute, and a date and time written in the user's
// short formats.
#pragma once

#include <string>

namespace platform {

struct CalendarMinute {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

CalendarMinute LocalNow();

// "<date> <time>" in the user's short date and short time formats, or ""
// for a time the system cannot write.
std::wstring ShortDateTimeText(const CalendarMinute& time);

}  // namespace platform
