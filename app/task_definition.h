// The scheduled task that runs "TavrikBackup.exe /backup" for the user, as
// the XML definition the Task Scheduler registers: the user's own rights
// (an interactive token, no stored password, least privilege), a missed
// time run as soon as the PC is on, never two at once, at most 24 hours.
#pragma once

#include <string>

#include "settings/schedule.h"

namespace app {

// A local date and time, to the minute.
struct LocalMinute {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
};

struct TaskRequest {
  settings::Schedule schedule;  // daily, weekly or at sign-in
  std::wstring program_path;    // the program's full path
  std::wstring user_id;         // the user the task runs as and whose sign-in starts it
  LocalMinute now;              // when it is registered
};

// The definition: a daily or weekly calendar trigger whose first start is
// the schedule's next time of day after now (so that registering never
// counts as a time missed), or a sign-in trigger for the user.
std::wstring TaskDefinitionXml(const TaskRequest& request);

// text with &, <, >, " and ' written as XML's entities.
std::wstring XmlEscaped(const std::wstring& text);

}  // namespace app
