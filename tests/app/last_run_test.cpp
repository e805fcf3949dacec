// The last run's record, read back whatever a hand edit left, and the main
// window's line of it. No Windows call: also run natively.
#include "app/last_run.h"

#include <map>
#include <utility>

#include <gtest/gtest.h>

namespace app {
namespace {

const LastRunTexts kTexts{L"Last backup: ", L"never", L", complete", L", cancelled",
                          L", target not available", L", ", L" files not copied"};

LastRun Read(std::map<std::wstring, std::wstring> values) { return ReadLastRun([&](const wchar_t* key) { return values[key]; }); }

std::wstring Line(const LastRun& record) { return LastRunLine(record, kTexts, [](const Minute& t) { return MinuteText(t); }); }

TEST(LastRunTest, OddValuesReadAsNeverAndWrittenValuesReadBack) {
  for (const wchar_t* time : {L"", L"yesterday", L"2026-13-01 10:00", L"2026-02-29 10:00",
                              L"2026-01-01 24:00", L"99999999999999999999", L"2026-1-1 1:00"})
    EXPECT_EQ(Line(Read({{L"time", time}, {L"result", L"0"}})), L"Last backup: never") << time;
  for (const wchar_t* result : {L"4", L"-1", L"01", L"x", L""})
    EXPECT_FALSE(Read({{L"time", L"2026-03-01 10:05"}, {L"result", result}}).known()) << result;
  EXPECT_EQ(Read({{L"notcopied", L"99999999999999999999"}}).not_copied, 0);

  const LastRun before = Read({{L"time", L"2024-02-29 23:59"}, {L"result", L"0"},
                               {L"complete", L"2024-02-29 23:59"}});
  const LastRun after = NextLastRun(before, {2026, 3, 1, 10, 5}, RunResult::kNotAllCopied, 12);
  std::map<std::wstring, std::wstring> written;
  for (const LastRunValue& value : LastRunValues(after)) written[value.key] = value.value;
  EXPECT_EQ(written[L"complete"], L"2024-02-29 23:59") << "kept from the last complete run";
  EXPECT_EQ(Line(Read(written)), L"Last backup: 2026-03-01 10:05, 12 files not copied");
}

// The line is red unless the last run was complete within a week.
TEST(LastRunTest, EachEndHasItsWordsAndItsColour) {
  const Minute run{2026, 3, 1, 10, 5};
  const LastRun complete = NextLastRun({}, run, RunResult::kComplete, 0);
  for (auto [result, words] : {std::pair{RunResult::kComplete, L"complete"}, {RunResult::kCancelled, L"cancelled"},
                               {RunResult::kNothingBackedUp, L"target not available"}})
    EXPECT_EQ(Line(NextLastRun(complete, run, result, 0)), L"Last backup: 2026-03-01 10:05, " + std::wstring(words));

  EXPECT_FALSE(LastRunNeedsAttention(complete, {2026, 3, 8, 10, 5}));
  EXPECT_TRUE(LastRunNeedsAttention(complete, {2026, 3, 8, 10, 6}));
  EXPECT_FALSE(LastRunNeedsAttention(NextLastRun({}, {2025, 12, 31, 23, 0}, RunResult::kComplete, 0), {2026, 1, 7, 22, 0}))
      << "across a year's end";
  EXPECT_TRUE(LastRunNeedsAttention(NextLastRun(complete, run, RunResult::kCancelled, 0), run));
  EXPECT_TRUE(LastRunNeedsAttention({}, run));
}

}  // namespace
}  // namespace app
