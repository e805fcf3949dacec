// GetLocalTime, GetDateFormatEx and GetTimeFormatEx.
#include "platform/local_time.h"

#include <windows.h>

namespace platform {

CalendarMinute LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
}

std::wstring ShortDateTimeText(const CalendarMinute& time) {
  SYSTEMTIME at{};
  at.wYear = static_cast<WORD>(time.year);
  at.wMonth = static_cast<WORD>(time.month);
  at.wDay = static_cast<WORD>(time.day);
  at.wHour = static_cast<WORD>(time.hour);
  at.wMinute = static_cast<WORD>(time.minute);
  wchar_t date[128] = {}, clock[128] = {};
  if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 128, nullptr) ||
      !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, clock, 128))
    return L"";
  return std::wstring(date) + L" " + clock;
}

}  // namespace platform
