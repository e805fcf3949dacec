// Rules of the version check and the HTTP download that need no window:
// the version texts and their order, the first line of the version file,
// the expected body length and the download percentage, which replies and
// redirects are taken, and the form of the installer's version.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/web_address.h"

namespace update {

// major.minor.revision in plain decimal, for example "0.1.7".
std::wstring VersionText(int major, int minor, int revision);

// Texts are compared character by character, not as numbers, so "0.1.10"
// is smaller than "0.1.7"; when one is a prefix of the other the longer one
// is greater. The versions compared are the program's own and a version
// file's line, digits and dots only.
bool IsGreaterVersion(std::wstring_view latest, std::wstring_view current);

// Whether a text is a version at all: one to four parts of one to five
// digits, separated by single dots. Anything else (a web page, an error
// text, "...", a twenty-digit number) is no version.
bool IsVersionText(std::wstring_view text);

// The version a version file names: its first line (everything before the
// first carriage return or line feed), when that is a version. The file is
// ANSI text, or UTF-8 after its byte-order mark, or UTF-16 of either byte
// order after its mark, as common Windows tools write it.
std::optional<std::wstring> VersionOfFile(std::string_view file_bytes);

// The "Content-Length" header value as a number: blanks are ignored and
// reading stops at the first other character that is not a digit; no
// digits give 0.
std::int64_t ContentLengthValue(std::string_view header_value);

// Whole percentage of the body received, 0 to 100, a half going to the even
// neighbour; -1 when the expected length is unknown (0 or less), which means
// the bar is left as it is.
int DownloadPercent(std::int64_t received, std::int64_t expected);

// The whole length of a file of which a partial reply's "Content-Range"
// ("bytes 0-LAST/LENGTH") covers every byte; nothing for any other range.
std::optional<std::uint64_t> WholeFileRange(std::string_view content_range);

// Whether a redirect from one address to another is followed: only on the
// same host; within http or https only to the same port; from http up to
// https (to any port); never from https down to http.
bool IsFollowedRedirect(const platform::WebAddress& from, const platform::WebAddress& to);

// An installer's product version as the version file writes it:
// "major.minor.revision", with ".build" only when the build is not 0.
std::string InstallerVersionText(const std::array<std::uint16_t, 4>& version);

}  // namespace update
