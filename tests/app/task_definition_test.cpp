// The scheduled task's definition for each kind of schedule; a rule with no
// Windows call, run natively under the sanitizers too.
#include "app/task_definition.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using settings::ScheduleKind;

bool Has(const std::wstring& xml, const std::wstring& part) { return xml.find(part) != std::wstring::npos; }

TaskRequest Request(ScheduleKind when, int hour, int minute) {
  TaskRequest request;
  request.schedule.when = when;
  request.schedule.hour = hour;
  request.schedule.minute = minute;
  request.program_path = L"C:\\Users\\Zoë & <Ana>\\Tavrik Backup\\TavrikBackup.exe";
  request.user_id = L"S-1-5-21-1-2-3-1001";
  request.now = {2024, 2, 28, 10, 15};
  return request;
}

TEST(TaskDefinitionTest, RunsTheProgramAsTheUserWithItsOwnRights) {
  for (ScheduleKind when : {ScheduleKind::kDaily, ScheduleKind::kWeekly, ScheduleKind::kLogon}) {
    const std::wstring xml = TaskDefinitionXml(Request(when, 9, 0));
    for (const wchar_t* part :
         {L"<Command>&quot;C:\\Users\\Zoë &amp; &lt;Ana&gt;\\Tavrik Backup\\TavrikBackup.exe&quot;</Command>",
          L"<Arguments>/backup</Arguments>", L"<UserId>S-1-5-21-1-2-3-1001</UserId>",
          L"<LogonType>InteractiveToken</LogonType>", L"<RunLevel>LeastPrivilege</RunLevel>",
          L"<StartWhenAvailable>true</StartWhenAvailable>",
          L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>",
          L"<ExecutionTimeLimit>PT24H</ExecutionTimeLimit>",
          L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
          L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"})
      EXPECT_TRUE(Has(xml, part)) << part;
  }
  TaskRequest mains_only = Request(ScheduleKind::kDaily, 9, 0);
  mains_only.schedule.on_battery = false;
  const std::wstring xml = TaskDefinitionXml(mains_only);
  EXPECT_TRUE(Has(xml, L"<DisallowStartIfOnBatteries>true</DisallowStartIfOnBatteries>"));
  EXPECT_TRUE(Has(xml, L"<StopIfGoingOnBatteries>true</StopIfGoingOnBatteries>"));
}

TEST(TaskDefinitionTest, EachKindOfScheduleStartsAtItsNextTime) {
  // 10:15 on 28 February of a leap year: later today, or tomorrow.
  EXPECT_TRUE(Has(TaskDefinitionXml(Request(ScheduleKind::kDaily, 22, 30)),
                  L"<StartBoundary>2024-02-28T22:30:00</StartBoundary>\n      <Enabled>true</Enabled>\n"
                  L"      <ScheduleByDay>\n        <DaysInterval>1</DaysInterval>"));
  TaskRequest year_end = Request(ScheduleKind::kDaily, 10, 15);
  year_end.now = {2023, 12, 31, 10, 15};
  EXPECT_TRUE(Has(TaskDefinitionXml(year_end), L"<StartBoundary>2024-01-01T10:15:00<"));
  TaskRequest weekly = Request(ScheduleKind::kWeekly, 8, 0);
  weekly.schedule.days = {true, false, true, false, false, false, true};
  const std::wstring xml = TaskDefinitionXml(weekly);
  EXPECT_TRUE(Has(xml, L"<StartBoundary>2024-02-29T08:00:00<"));
  EXPECT_TRUE(Has(xml, L"<WeeksInterval>1</WeeksInterval>\n        <DaysOfWeek><Monday /><Wednesday /><Sunday /></DaysOfWeek>"));
  const std::wstring logon = TaskDefinitionXml(Request(ScheduleKind::kLogon, 8, 0));
  EXPECT_TRUE(Has(logon, L"<LogonTrigger>\n      <Enabled>true</Enabled>\n      <UserId>S-1-5-21-1-2-3-1001</UserId>"));
  EXPECT_FALSE(Has(logon, L"CalendarTrigger"));
}

}  // namespace
}  // namespace app
