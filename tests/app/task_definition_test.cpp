// The backup schedule as the settings file keeps it and as the Task
// Scheduler gets it; rules with no Windows call, run natively too.
#include "app/task_definition.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using settings::ScheduleKind;

TEST(ScheduleTest, StoredValuesReadBackAndWhatDoesNotParseReadsAsOff) {
  const settings::Schedule weekly{ScheduleKind::kWeekly, 7, 5, {1, 0, 0, 0, 0, 0, 1}, false};
  const settings::StoredSchedule stored = settings::StoreSchedule(weekly);
  EXPECT_EQ(stored.when + stored.time + stored.days + stored.battery, L"weekly07:05Mon,Sun0");
  const settings::Schedule read = settings::ReadSchedule(stored);
  EXPECT_TRUE(read.hour == 7 && read.minute == 5 && read.days == weekly.days && !read.on_battery);
  const settings::Schedule odd_days = settings::ReadSchedule({L" Weekly ", L"9:30", L"fri, xyz,,SAT", L"x"});
  EXPECT_TRUE(odd_days.on_battery && odd_days.days == (std::array<bool, 7>{0, 0, 0, 0, 1, 1, 0}));
  const settings::StoredSchedule odd[] = {
      {L"hourly", L"10:00"}, {L"daily", L"24:00"}, {L"daily", L"12:60"}, {L"daily", L""},
      {L"daily", L"-1:00"},  {L"daily", L"999999999999:00"}, {L"daily", L"12:5"},
      {L"daily", L"12:00:00"}, {L"weekly", L"10:00"}, {L"weekly", L"10:00", L"Monday,Funday"}};
  for (const settings::StoredSchedule& stored : odd)
    EXPECT_EQ(settings::ReadSchedule(stored).when, ScheduleKind::kOff) << stored.when << stored.time;
}

// Registered at 10:15 on 28 February of a leap year, by a user whose
// folder's name needs escaping.
std::wstring Xml(ScheduleKind when, int hour, std::array<bool, 7> days = {}, bool on_battery = true) {
  return TaskDefinitionXml({{when, hour, 30, days, on_battery}, L"C:\\Users\\Zoë & <Ana>\\TavrikBackup.exe",
                            L"S-1-5-21-1-1001", {2024, 2, 28, 10, 15}});
}

TEST(TaskDefinitionTest, TheProgramRunsAsTheUserAtTheNextTimeOfEachKindOfSchedule) {
  const std::wstring all =
      L"<UserId>S-1-5-21-1-1001</UserId>\n      <LogonType>InteractiveToken</LogonType>\n      <RunLevel>"
      L"LeastPrivilege</RunLevel>\n    </Principal>\n  </Principals>\n  <Settings>\n    <MultipleInstancesPolicy>"
      L"IgnoreNew</MultipleInstancesPolicy>\n    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
      L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n    <StartWhenAvailable>true</StartWhenAvailable>\n"
      L"    <ExecutionTimeLimit>PT24H</ExecutionTimeLimit>\n    <Enabled>true</Enabled>\n  </Settings>\n  <Actions "
      L"Context=\"Author\">\n    <Exec>\n      <Command>&quot;C:\\Users\\Zoë &amp; &lt;Ana&gt;\\TavrikBackup.exe&quot;"
      L"</Command>\n      <Arguments>/backup</Arguments>";
  for (ScheduleKind when : {ScheduleKind::kDaily, ScheduleKind::kWeekly, ScheduleKind::kLogon})
    EXPECT_NE(Xml(when, 9).find(all), std::wstring::npos) << static_cast<int>(when);
  EXPECT_NE(Xml(ScheduleKind::kDaily, 9, {}, false).find(L"<DisallowStartIfOnBatteries>true</DisallowStartIfOnBatteries>\n"
                                                          L"    <StopIfGoingOnBatteries>true<"), std::wstring::npos);
  EXPECT_NE(Xml(ScheduleKind::kDaily, 22).find(L"<CalendarTrigger>\n      <StartBoundary>2024-02-28T22:30:00</StartBoundary>\n"
                                               L"      <Enabled>true</Enabled>\n      <ScheduleByDay>\n        <DaysInterval>1<"), std::wstring::npos);
  EXPECT_NE(Xml(ScheduleKind::kWeekly, 8, {1, 0, 1, 0, 0, 0, 1}).find(L"<StartBoundary>2024-02-29T08:30:00</StartBoundary>\n      "
            L"<Enabled>true</Enabled>\n      <ScheduleByWeek>\n        <WeeksInterval>1</WeeksInterval>\n        "
            L"<DaysOfWeek><Monday /><Wednesday /><Sunday /></DaysOfWeek>"), std::wstring::npos);
  EXPECT_NE(TaskDefinitionXml({{ScheduleKind::kDaily, 8}, L"", L"", {2023, 12, 31, 10, 15}}).find(L"2024-01-01T08:00:00<"), std::wstring::npos);
  EXPECT_NE(Xml(ScheduleKind::kLogon, 9).find(L"<Triggers>\n    <LogonTrigger>\n      <Enabled>true</Enabled>\n      "
                                              L"<UserId>S-1-5-21-1-1001</UserId>\n    </LogonTrigger>\n  </Triggers>"), std::wstring::npos);
}

}  // namespace
}  // namespace app
