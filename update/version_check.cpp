// Version texts, version order, version-file line and download progress.
#include "update/version_check.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace update {

namespace {

// UTF-16 code units of text. wchar_t is already UTF-16 on Windows; where it
// holds whole code points, characters above U+FFFF are split into their
// surrogate pair, which sorts below U+E000..U+FFFF as it does on Windows.
std::u16string Utf16(std::wstring_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0xFFFF) {
      const std::uint32_t offset = code - 0x10000;
      units += static_cast<char16_t>(0xD800 + (offset >> 10));
      units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    } else {
      units += static_cast<char16_t>(code);
    }
  }
  return units;
}

}  // namespace

std::wstring VersionText(int major, int minor, int revision) {
  assert(major >= 0 && minor >= 0 && revision >= 0);
  return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(revision);
}

bool IsGreaterVersion(std::wstring_view latest, std::wstring_view current) {
  return Utf16(latest).compare(Utf16(current)) > 0;
}

std::string FirstLine(std::string_view fileBytes) {
  return std::string(fileBytes.substr(0, fileBytes.find('\r')));
}

std::int64_t ContentLengthValue(std::wstring_view headerValue) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (wchar_t c : headerValue) {
    if (c == L' ' || c == L'\t') {
      continue;
    }
    if (c < L'0' || c > L'9') {
      break;
    }
    const int digit = c - L'0';
    // A length beyond any real body is held at the largest value rather
    // than wrapping into a negative one.
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

int DownloadPercent(std::int64_t received, std::int64_t expected) {
  if (expected <= 0) {
    return -1;
  }
  // A body longer than announced would go past the bar's range.
  const double percent =
      std::nearbyint(static_cast<double>(received) / static_cast<double>(expected) * 100.0);
  return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

}  // namespace update
