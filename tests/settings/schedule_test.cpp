// The [schedule] values read back as written, and odd hand-edited ones as
// off; a rule with no Windows call, run natively under the sanitizers too.
#include "settings/schedule.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(ScheduleTest, WrittenValuesReadBack) {
  Schedule weekly;
  weekly.when = ScheduleKind::kWeekly;
  weekly.hour = 7;
  weekly.minute = 5;
  weekly.days[0] = weekly.days[6] = true;
  weekly.on_battery = false;
  const StoredSchedule stored = StoreSchedule(weekly);
  EXPECT_EQ(stored.when + L" " + stored.time + L" " + stored.days, L"weekly 07:05 Mon,Sun");
  const Schedule read = ReadSchedule(stored);
  EXPECT_TRUE(read.when == weekly.when && read.hour == 7 && read.minute == 5 &&
              read.days == weekly.days && !read.on_battery);
  EXPECT_EQ(ReadSchedule({L" Logon ", L"", L"", L""}).when, ScheduleKind::kLogon);
  EXPECT_TRUE(ReadSchedule({L"daily", L"9:30", L"", L"junk"}).on_battery);
  EXPECT_EQ(ReadSchedule({L"weekly", L"23:59", L"fri, xyz,,SAT", L""}).days,
            (std::array<bool, 7>{false, false, false, false, true, true, false}));
}

TEST(ScheduleTest, WhatDoesNotParseReadsAsOff) {
  const StoredSchedule odd[] = {
      {L"", L"", L"", L""},           {L"hourly", L"10:00", L"", L""},
      {L"daily", L"24:00", L"", L""}, {L"daily", L"12:60", L"", L""},
      {L"daily", L"", L"", L""},      {L"daily", L"-1:00", L"", L""},
      {L"daily", L"999999999999:00", L"", L""}, {L"daily", L"12:5", L"", L""},
      {L"daily", L"12:00:00", L"", L""},        {L"weekly", L"10:00", L"", L""},
      {L"weekly", L"10:00", L"Monday,Funday", L""}};
  for (const StoredSchedule& stored : odd)
    EXPECT_EQ(ReadSchedule(stored).when, ScheduleKind::kOff) << stored.when << L" " << stored.time;
}

}  // namespace
}  // namespace settings
