// Rules of the version check and the HTTP download that need no window:
// the version texts and their order, the first line of the version file,
// the expected body length and the download percentage.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace update {

// major.minor.revision in plain decimal, for example "0.1.7".
std::wstring VersionText(int major, int minor, int revision);

// Texts are compared code unit by code unit (UTF-16), not as numbers, so
// "0.1.10" is smaller than "0.1.7"; when one is a prefix of the other the
// longer one is greater.
bool IsGreaterVersion(std::wstring_view latest, std::wstring_view current);

// The version file's first line: the bytes before the first carriage
// return. A line feed alone does not end the line.
std::string FirstLine(std::string_view fileBytes);

// The "Content-Length" header value as a number: blanks are ignored and
// reading stops at the first other character that is not a digit; no
// digits give 0.
std::int64_t ContentLengthValue(std::wstring_view headerValue);

// Whole percentage of the body received, 0 to 100, a half going to the even
// neighbour; -1 when the expected length is unknown (0 or less), which means
// the bar is left as it is.
int DownloadPercent(std::int64_t received, std::int64_t expected);

}  // namespace update
