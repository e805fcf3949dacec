// Settings values read as numbers and check-box states.
#include "settings/stored_values.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace settings {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Copies the digits starting at text[pos] into out; returns how many.
std::size_t TakeDigits(std::wstring_view text, std::size_t pos, std::string& out) {
  std::size_t count = 0;
  while (pos + count < text.size() && IsDigit(text[pos + count])) {
    out += static_cast<char>(text[pos + count]);
    ++count;
  }
  return count;
}

double LeadingNumber(std::wstring_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == L' ') {
    ++pos;
  }

  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }

  std::string number;
  std::size_t digits = TakeDigits(text, pos, number);
  pos += digits;
  if (pos < text.size() && text[pos] == L'.') {
    number += '.';
    const std::size_t decimals = TakeDigits(text, pos + 1, number);
    pos += 1 + decimals;
    digits += decimals;
  }
  if (digits == 0) {
    return 0.0;
  }

  // An exponent counts only when digits follow it; "1e" reads as 1. It may
  // be written with D as well as E ("1D0"), as the settings files of
  // earlier releases were read, so a hand-edited value keeps its meaning.
  bool negative_exponent = false;
  if (pos < text.size() &&
      (text[pos] == L'E' || text[pos] == L'e' || text[pos] == L'D' || text[pos] == L'd')) {
    std::size_t next = pos + 1;
    std::string exponent = "e";
    if (next < text.size() && (text[next] == L'+' || text[next] == L'-')) {
      negative_exponent = text[next] == L'-';
      exponent += negative_exponent ? '-' : '+';
      ++next;
    }
    if (TakeDigits(text, next, exponent) > 0) {
      number += exponent;
    }
  }

  double value = 0.0;
  const auto result =
      std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = negative_exponent ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

}  // namespace

platform::CheckState StoredCheckState(std::wstring_view value) {
  const double state = std::nearbyint(LeadingNumber(value));
  if (state == 1.0) return platform::CheckState::kChecked;
  if (state == 2.0) return platform::CheckState::kIndeterminate;
  return platform::CheckState::kUnchecked;
}

bool StoredSwitch(std::wstring_view value) { return value == L"1"; }

std::wstring WithoutLineBreaks(std::wstring value) {
  for (wchar_t& c : value) {
    if (c == L'\r' || c == L'\n') {
      c = L' ';
    }
  }
  return value;
}

}  // namespace settings
