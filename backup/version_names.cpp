// Version names: the stamp, where it goes in a name, and reading it back.
#include "backup/version_names.h"

namespace backup {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// " (" + "YYYY_MM_DD HH_MM_SS UTC" + ")"
constexpr std::size_t kStampLength = 23, kWrappedLength = kStampLength + 3;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromDate(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

struct Date {
  std::int64_t year;
  unsigned month, day;
};

Date DateFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned day_of_era = static_cast<unsigned>(days - era * 146097);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const unsigned day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  return {static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2), month, day};
}

void AppendDigits(std::wstring& text, std::int64_t value, int width) {
  std::wstring digits = std::to_wstring(value);
  if (digits.size() < static_cast<std::size_t>(width)) text.append(width - digits.size(), L'0');
  text += digits;
}

// The number of the width digits at text[at]; nothing when one is not a digit.
std::optional<unsigned> Digits(std::wstring_view text, std::size_t at, std::size_t width) {
  unsigned value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(text[i] - L'0');
  }
  return value;
}

// The time of a stamp such as VersionStamp writes, starting at text[at].
std::optional<UtcSeconds> ReadStamp(std::wstring_view text, std::size_t at) {
  if (text.size() < at + kStampLength || text.substr(at + 19, 4) != L" UTC") return std::nullopt;
  for (std::size_t gap : {4, 7, 13, 16})
    if (text[at + gap] != L'_') return std::nullopt;
  if (text[at + 10] != L' ') return std::nullopt;
  const auto year = Digits(text, at, 4), month = Digits(text, at + 5, 2), day = Digits(text, at + 8, 2),
             hour = Digits(text, at + 11, 2), minute = Digits(text, at + 14, 2),
             second = Digits(text, at + 17, 2);
  if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
      *day < 1 || *hour > 23 || *minute > 59 || *second > 59)
    return std::nullopt;
  const std::int64_t days = DaysFromDate(*year, *month, *day);
  // The 31st of a month of 30 days would read as the 1st of the next.
  if (DateFromDays(days).day != *day) return std::nullopt;
  return days * kSecondsPerDay + *hour * 3600 + *minute * 60 + *second;
}

std::size_t StampPlace(std::wstring_view name) {
  const std::size_t dot = name.rfind(L'.');
  return dot == std::wstring_view::npos || dot == 0 ? name.size() : dot;
}

}  // namespace

const wchar_t kVersionsFolder[] = L"Tavrik Backup versions";

std::wstring VersionStamp(UtcSeconds time) {
  std::int64_t days = time / kSecondsPerDay, seconds = time % kSecondsPerDay;
  if (seconds < 0) --days, seconds += kSecondsPerDay;
  const Date date = DateFromDays(days);
  std::wstring text;
  AppendDigits(text, date.year, 4);
  text += L'_';
  AppendDigits(text, date.month, 2);
  text += L'_';
  AppendDigits(text, date.day, 2);
  text += L' ';
  AppendDigits(text, seconds / 3600, 2);
  text += L'_';
  AppendDigits(text, seconds / 60 % 60, 2);
  text += L'_';
  AppendDigits(text, seconds % 60, 2);
  return text + L" UTC";
}

std::wstring VersionName(std::wstring_view name, UtcSeconds time, unsigned copy) {
  const std::size_t place = StampPlace(name);
  std::wstring result(name.substr(0, place));
  result += L" (" + VersionStamp(time) + L")";
  if (copy > 1) result += L" (" + std::to_wstring(copy) + L")";
  return result += name.substr(place);
}

std::optional<VersionOf> ReadVersionName(std::wstring_view name) {
  // The last stamp is the program's: a file named like a version is kept
  // as a version of that name.
  for (std::size_t at = name.rfind(L" ("); at != std::wstring_view::npos && at > 0;
       at = name.rfind(L" (", at - 1)) {
    const std::optional<UtcSeconds> time = ReadStamp(name, at + 2);
    if (!time || name.size() < at + kWrappedLength || name[at + kWrappedLength - 1] != L')')
      continue;
    std::wstring_view rest = name.substr(at + kWrappedLength);
    unsigned copy = 1;
    const std::size_t close = rest.find(L')');
    if (rest.substr(0, 2) == L" (" && close != std::wstring_view::npos && close > 2 && close < 12) {
      const std::optional<unsigned> number = Digits(rest, 2, close - 2);
      if (number && *number > 1 && rest[2] != L'0') {
        copy = *number;
        rest = rest.substr(close + 1);
      }
    }
    VersionOf version{std::wstring(name.substr(0, at)) + std::wstring(rest), *time, copy};
    // Only a name made the way VersionName makes it.
    if (VersionName(version.name, version.time, copy) == name) return version;
  }
  return std::nullopt;
}

}  // namespace backup
