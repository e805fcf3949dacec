// The record of the last backup run in the settings file ([lastrun]) and
// the line the main window shows of it. No Windows call: also built
// natively; the date and time texts in the user's formats come in made.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/command_line.h"

namespace app {

// A local time to the minute, as the settings file keeps it:
// "YYYY-MM-DD HH:MM".
struct Minute {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
std::optional<Minute> MinuteFromText(const std::wstring& text);
std::wstring MinuteText(const Minute& time);

// What [lastrun] holds. A value that does not read (hand-edited, cut, out
// of range) leaves its part empty; a record without a readable time and
// result reads as no run at all.
struct LastRun {
  std::optional<Minute> time;
  std::optional<RunResult> result;
  long long not_copied = 0;
  std::optional<Minute> complete;
  bool known() const { return time && result; }
};

constexpr wchar_t kLastRunSection[] = L"lastrun";
// read(key) is the stored value of a key of the section, "" when none.
LastRun ReadLastRun(const std::function<std::wstring(const wchar_t* key)>& read);
// The record after a run ending at time with result: complete moves only
// with a complete run.
LastRun NextLastRun(const LastRun& before, const Minute& time, RunResult result,
                    long long not_copied);
// The keys and values to write, in order.
struct LastRunValue {
  const wchar_t* key;
  std::wstring value;
};
std::vector<LastRunValue> LastRunValues(const LastRun& record);

// The words of the line, in one language.
struct LastRunTexts {
  std::wstring last_backup;  // "Last backup: "
  std::wstring never, complete, cancelled, not_available;
  // ", N files not copied": the text before and after the number.
  std::wstring not_copied_before, not_copied_after;
};

// "Last backup: never", or the time (its date and time texts made in the
// user's formats by date_time) and how the run ended.
std::wstring LastRunLine(const LastRun& record, const LastRunTexts& texts,
                         const std::function<std::wstring(const Minute&)>& date_time);

// The line asks for the user's eye when the last run did not end
// complete, or the last complete backup is more than seven days before now.
bool LastRunNeedsAttention(const LastRun& record, const Minute& now);

}  // namespace app
