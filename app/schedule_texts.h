// The schedule window's texts, which the program gives in the user's
// language.
#pragma once

#include <array>
#include <string>

namespace app {

struct ScheduleTexts {
  std::wstring title, off, daily, weekly, logon, time, on_battery, ok, cancel;
  // The week's days, Monday first: on the check boxes, and as a screen
  // reader says them.
  std::array<std::wstring, 7> day_boxes, day_names;
  // The red line: a week with no day ticked; the scheduler refused, before
  // the system's words for why; the settings file could not be written.
  std::wstring no_day, not_scheduled, not_saved;
};

}  // namespace app
