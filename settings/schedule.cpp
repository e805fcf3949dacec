// The [schedule] values, read and written.
#include "settings/schedule.h"

#include <cwctype>

namespace settings {

const std::array<const wchar_t*, kDaysInWeek> kDayNames = {L"Mon", L"Tue", L"Wed", L"Thu",
                                                            L"Fri", L"Sat", L"Sun"};

namespace {

const std::array<const wchar_t*, 4> kKindNames = {L"off", L"daily", L"weekly", L"logon"};

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  return text;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

// One or two decimal digits, no sign, no spaces.
bool ReadSmallNumber(std::wstring_view text, int limit, int& number) {
  if (text.empty() || text.size() > 2) return false;
  number = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    number = number * 10 + (c - L'0');
  }
  return number <= limit;
}

bool ReadTime(std::wstring_view text, int& hour, int& minute) {
  text = Trimmed(text);
  const std::size_t colon = text.find(L':');
  if (colon == std::wstring_view::npos) return false;
  return ReadSmallNumber(text.substr(0, colon), 23, hour) &&
         text.size() - colon == 3 && ReadSmallNumber(text.substr(colon + 1), 59, minute);
}

std::array<bool, kDaysInWeek> ReadDays(std::wstring_view text) {
  std::array<bool, kDaysInWeek> days{};
  while (!text.empty()) {
    const std::size_t comma = text.find(L',');
    const std::wstring_view name = Trimmed(text.substr(0, comma));
    for (int day = 0; day < kDaysInWeek; ++day) {
      if (SameIgnoringCase(name, kDayNames[day])) days[day] = true;
    }
    text = comma == std::wstring_view::npos ? std::wstring_view() : text.substr(comma + 1);
  }
  return days;
}

}  // namespace

// The time and the days are read whatever the kind, so that the window
// shows them again when the user comes back to a daily or weekly schedule.
Schedule ReadSchedule(const StoredSchedule& stored) {
  Schedule schedule;
  schedule.on_battery = Trimmed(stored.battery) != L"0";
  for (int kind = 0; kind < static_cast<int>(kKindNames.size()); ++kind) {
    if (SameIgnoringCase(Trimmed(stored.when), kKindNames[kind]))
      schedule.when = static_cast<ScheduleKind>(kind);
  }
  int hour = 0, minute = 0;
  const bool has_time = ReadTime(stored.time, hour, minute);
  if (has_time) {
    schedule.hour = hour;
    schedule.minute = minute;
  }
  schedule.days = ReadDays(stored.days);
  bool any_day = false;
  for (bool day : schedule.days) any_day = any_day || day;
  const bool timed = schedule.when == ScheduleKind::kDaily || schedule.when == ScheduleKind::kWeekly;
  if ((timed && !has_time) || (schedule.when == ScheduleKind::kWeekly && !any_day))
    schedule.when = ScheduleKind::kOff;
  return schedule;
}

std::wstring TimeText(int hour, int minute) {
  const wchar_t text[] = {static_cast<wchar_t>(L'0' + hour / 10), static_cast<wchar_t>(L'0' + hour % 10),
                          L':', static_cast<wchar_t>(L'0' + minute / 10),
                          static_cast<wchar_t>(L'0' + minute % 10), 0};
  return text;
}

StoredSchedule StoreSchedule(const Schedule& schedule) {
  StoredSchedule stored;
  stored.when = kKindNames[static_cast<int>(schedule.when)];
  stored.time = TimeText(schedule.hour, schedule.minute);
  for (int day = 0; day < kDaysInWeek; ++day) {
    if (!schedule.days[day]) continue;
    if (!stored.days.empty()) stored.days += L',';
    stored.days += kDayNames[day];
  }
  stored.battery = schedule.on_battery ? L"1" : L"0";
  return stored;
}

}  // namespace settings
