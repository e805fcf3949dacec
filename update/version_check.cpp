// Version texts, version order, version-file line and download progress.
#include "update/version_check.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace update {

std::wstring VersionText(int major, int minor, int revision) {
  assert(major >= 0 && minor >= 0 && revision >= 0);
  return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(revision);
}

bool IsGreaterVersion(std::wstring_view latest, std::wstring_view current) {
  return latest.compare(current) > 0;
}

bool IsVersionText(std::wstring_view text) {
  int parts = 0;
  while (++parts <= 4) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9') ++digits;
    if (digits == 0 || digits > 5) return false;
    text.remove_prefix(digits);
    if (text.empty()) return true;
    if (text[0] != L'.') return false;
    text.remove_prefix(1);
  }
  return false;
}

std::optional<std::wstring> VersionOfFile(std::string_view file_bytes) {
  const auto starts = [&file_bytes](std::string_view mark) {
    return file_bytes.substr(0, mark.size()) == mark;
  };
  std::wstring text;
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    // UTF-16 code units; a version's characters are all in one unit.
    const bool little_endian = file_bytes[0] == '\xFF';
    for (std::size_t at = 2; at + 1 < file_bytes.size(); at += 2) {
      const auto low = static_cast<unsigned char>(file_bytes[at + (little_endian ? 0 : 1)]);
      const auto high = static_cast<unsigned char>(file_bytes[at + (little_endian ? 1 : 0)]);
      text += static_cast<wchar_t>(high << 8 | low);
    }
  } else {
    if (starts("\xEF\xBB\xBF")) file_bytes.remove_prefix(3);
    // Any byte outside ASCII makes the line no version, whatever the code
    // page would make of it.
    for (char byte : file_bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
  }
  text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
  if (!IsVersionText(text)) return std::nullopt;
  return text;
}

std::int64_t ContentLengthValue(std::string_view header_value) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (char c : header_value) {
    if (c == ' ' || c == '\t') continue;
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    // A length beyond any real body is held at the largest value rather
    // than wrapping into a negative one.
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

int DownloadPercent(std::int64_t received, std::int64_t expected) {
  if (expected <= 0) return -1;
  // A body longer than announced would go past the bar's range.
  const double percent =
      std::nearbyint(static_cast<double>(received) / static_cast<double>(expected) * 100.0);
  return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

namespace {

// A plain decimal number of at most 18 digits; nothing for anything else.
std::optional<std::uint64_t> DecimalValue(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::uint64_t> WholeFileRange(std::string_view content_range) {
  const std::string_view kUnit = "bytes 0-";
  if (content_range.substr(0, kUnit.size()) != kUnit) return std::nullopt;
  content_range.remove_prefix(kUnit.size());
  const std::size_t slash = content_range.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<std::uint64_t> last = DecimalValue(content_range.substr(0, slash));
  const std::optional<std::uint64_t> length = DecimalValue(content_range.substr(slash + 1));
  if (!last || !length || *last + 1 != *length) return std::nullopt;
  return length;
}

bool IsFollowedRedirect(const platform::WebAddress& from, const platform::WebAddress& to) {
  if (to.host != from.host) return false;
  if (from.secure != to.secure) return to.secure;
  return to.port == from.port;
}

std::string InstallerVersionText(const std::array<std::uint16_t, 4>& version) {
  std::string text = std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
                     std::to_string(version[2]);
  if (version[3] != 0) text += "." + std::to_string(version[3]);
  return text;
}

}  // namespace update
