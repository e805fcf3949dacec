// The backup schedule the user chose, as the settings file keeps it under
// [schedule]: when=off|daily|weekly|logon, time=HH:MM, days=Mon,Tue,...
// and battery=1|0. Reading is forgiving: whatever does not parse reads as
// "off", never as a guess.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace settings {

enum class ScheduleKind { kOff, kDaily, kWeekly, kLogon };

// Days are in the week's order Monday to Sunday.
constexpr int kDaysInWeek = 7;
extern const std::array<const wchar_t*, kDaysInWeek> kDayNames;  // "Mon" ... "Sun"

struct Schedule {
  ScheduleKind when = ScheduleKind::kOff;
  int hour = 12, minute = 0;  // daily and weekly
  std::array<bool, kDaysInWeek> days{};  // weekly
  bool on_battery = true;
};

// The stored values, one per key.
struct StoredSchedule {
  std::wstring when = L"", time = L"", days = L"", battery = L"";
};

// An unknown "when", a daily or weekly time that is not H:MM or HH:MM
// within a day, or a week without one known day read as off; unknown day
// names are left out. A missing battery value keeps the default (on).
Schedule ReadSchedule(const StoredSchedule& stored);
StoredSchedule StoreSchedule(const Schedule& schedule);

// "HH:MM".
std::wstring TimeText(int hour, int minute);

}  // namespace settings
