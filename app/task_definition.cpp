// The scheduled task's XML definition.
#include "app/task_definition.h"

#include <cstdio>

namespace app {
namespace {

using settings::ScheduleKind;

const wchar_t* const kDayElements[settings::kDaysInWeek] = {
    L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The schedule's time of day today, or tomorrow when today's has come.
std::wstring FirstStart(const settings::Schedule& schedule, LocalMinute now) {
  if (schedule.hour * 60 + schedule.minute <= now.hour * 60 + now.minute) {
    if (++now.day > DaysInMonth(now.year, now.month)) {
      now.day = 1;
      if (++now.month > 12) {
        now.month = 1;
        ++now.year;
      }
    }
  }
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d-%02d-%02dT%02d:%02d:00", now.year, now.month, now.day,
                schedule.hour, schedule.minute);
  return text;
}

std::wstring Triggers(const TaskRequest& request) {
  const settings::Schedule& schedule = request.schedule;
  if (schedule.when == ScheduleKind::kLogon) {
    return L"    <LogonTrigger>\n      <Enabled>true</Enabled>\n      <UserId>" +
           XmlEscaped(request.user_id) + L"</UserId>\n    </LogonTrigger>\n";
  }
  std::wstring trigger = L"    <CalendarTrigger>\n      <StartBoundary>" +
                         FirstStart(schedule, request.now) +
                         L"</StartBoundary>\n      <Enabled>true</Enabled>\n";
  if (schedule.when == ScheduleKind::kWeekly) {
    trigger += L"      <ScheduleByWeek>\n        <WeeksInterval>1</WeeksInterval>\n"
               L"        <DaysOfWeek>";
    for (int day = 0; day < settings::kDaysInWeek; ++day) {
      if (schedule.days[day]) trigger += std::wstring(L"<") + kDayElements[day] + L" />";
    }
    trigger += L"</DaysOfWeek>\n      </ScheduleByWeek>\n";
  } else {
    trigger += L"      <ScheduleByDay>\n        <DaysInterval>1</DaysInterval>\n"
               L"      </ScheduleByDay>\n";
  }
  return trigger + L"    </CalendarTrigger>\n";
}

const wchar_t* TrueOrFalse(bool value) { return value ? L"true" : L"false"; }

}  // namespace

std::wstring XmlEscaped(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': escaped += L"&amp;"; break;
      case L'<': escaped += L"&lt;"; break;
      case L'>': escaped += L"&gt;"; break;
      case L'"': escaped += L"&quot;"; break;
      case L'\'': escaped += L"&apos;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::wstring TaskDefinitionXml(const TaskRequest& request) {
  const bool battery_stops = !request.schedule.on_battery;
  return std::wstring(
             L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
             L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
             L"  <RegistrationInfo>\n    <Author>Tavrik Backup</Author>\n"
             L"    <Description>Backs up what Tavrik Backup keeps ticked.</Description>\n"
             L"  </RegistrationInfo>\n  <Triggers>\n") +
         Triggers(request) +
         L"  </Triggers>\n  <Principals>\n    <Principal id=\"Author\">\n      <UserId>" +
         XmlEscaped(request.user_id) +
         L"</UserId>\n      <LogonType>InteractiveToken</LogonType>\n"
         L"      <RunLevel>LeastPrivilege</RunLevel>\n    </Principal>\n  </Principals>\n"
         L"  <Settings>\n    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
         L"    <DisallowStartIfOnBatteries>" + TrueOrFalse(battery_stops) +
         L"</DisallowStartIfOnBatteries>\n    <StopIfGoingOnBatteries>" +
         TrueOrFalse(battery_stops) +
         L"</StopIfGoingOnBatteries>\n    <StartWhenAvailable>true</StartWhenAvailable>\n"
         L"    <ExecutionTimeLimit>PT24H</ExecutionTimeLimit>\n    <Enabled>true</Enabled>\n"
         L"  </Settings>\n  <Actions Context=\"Author\">\n    <Exec>\n      <Command>" +
         // Quoted, as the system's own tools write a path with spaces.
         XmlEscaped(L"\"" + request.program_path + L"\"") +
         L"</Command>\n      <Arguments>/backup</Arguments>\n    </Exec>\n  </Actions>\n</Task>\n";
}

}  // namespace app
