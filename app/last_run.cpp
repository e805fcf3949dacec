// [lastrun]: its reader, tolerant of any hand edit, and the line it makes.
#include "app/last_run.h"

#include <cwchar>

namespace app {
namespace {

// The digits of text[at, at + count) as a number, or -1 when one is not a
// digit.
int Digits(const std::wstring& text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return -1;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a civil date (the proleptic Gregorian calendar).
long long DayNumber(const Minute& time) {
  const int y = time.year - (time.month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long year_of_era = y - era * 400;
  const long long day_of_year = (153 * (time.month + (time.month > 2 ? -3 : 9)) + 2) / 5 + time.day - 1;
  const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

long long MinutesOf(const Minute& time) {
  return DayNumber(time) * 1440 + time.hour * 60 + time.minute;
}

std::wstring TwoDigits(int value) {
  return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10)) +
         static_cast<wchar_t>(L'0' + value % 10);
}

std::wstring Trimmed(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::optional<Minute> MinuteFromText(const std::wstring& raw) {
  const std::wstring text = Trimmed(raw);
  if (text.size() != 16 || text[4] != L'-' || text[7] != L'-' || text[10] != L' ' ||
      text[13] != L':')
    return std::nullopt;
  const Minute time{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2),
                    Digits(text, 11, 2), Digits(text, 14, 2)};
  if (time.year < 1601 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > DaysInMonth(time.year, time.month) || time.hour < 0 || time.hour > 23 ||
      time.minute < 0 || time.minute > 59)
    return std::nullopt;
  return time;
}

std::wstring MinuteText(const Minute& time) {
  return std::to_wstring(time.year) + L"-" + TwoDigits(time.month) + L"-" + TwoDigits(time.day) +
         L" " + TwoDigits(time.hour) + L":" + TwoDigits(time.minute);
}

LastRun ReadLastRun(const std::function<std::wstring(const wchar_t* key)>& read) {
  LastRun record;
  record.time = MinuteFromText(read(L"time"));
  const std::wstring result = Trimmed(read(L"result"));
  if (result.size() == 1 && result[0] >= L'0' && result[0] <= L'3')
    record.result = static_cast<RunResult>(result[0] - L'0');
  // At most nine digits: a count no run reaches, and no overflow.
  const std::wstring not_copied = Trimmed(read(L"notcopied"));
  if (!not_copied.empty() && not_copied.size() <= 9 &&
      not_copied.find_first_not_of(L"0123456789") == std::wstring::npos)
    record.not_copied = std::stoll(not_copied);
  record.complete = MinuteFromText(read(L"complete"));
  return record;
}

LastRun NextLastRun(const LastRun& before, const Minute& time, RunResult result,
                    long long not_copied) {
  LastRun record = before;
  record.time = time;
  record.result = result;
  record.not_copied = not_copied;
  if (result == RunResult::kComplete) record.complete = time;
  return record;
}

std::vector<LastRunValue> LastRunValues(const LastRun& record) {
  std::vector<LastRunValue> values;
  if (record.time) values.push_back({L"time", MinuteText(*record.time)});
  if (record.result) values.push_back({L"result", std::to_wstring(static_cast<int>(*record.result))});
  values.push_back({L"notcopied", std::to_wstring(record.not_copied)});
  if (record.complete) values.push_back({L"complete", MinuteText(*record.complete)});
  return values;
}

std::wstring LastRunLine(const LastRun& record, const LastRunTexts& texts,
                         const std::function<std::wstring(const Minute&)>& date_time) {
  if (!record.known()) return texts.last_backup + texts.never;
  std::wstring line = texts.last_backup + date_time(*record.time);
  switch (*record.result) {
    case RunResult::kComplete:
      return line + texts.complete;
    case RunResult::kNotAllCopied:
      return line + texts.not_copied_before + std::to_wstring(record.not_copied) +
             texts.not_copied_after;
    case RunResult::kNothingBackedUp:
      return line + texts.not_available;
    case RunResult::kCancelled:
      return line + texts.cancelled;
  }
  return line;
}

bool LastRunNeedsAttention(const LastRun& record, const Minute& now) {
  if (!record.known() || *record.result != RunResult::kComplete) return true;
  constexpr long long kWeekMinutes = 7 * 1440;
  return !record.complete || MinutesOf(now) - MinutesOf(*record.complete) > kWeekMinutes;
}

}  // namespace app
