// The names under which a run keeps the target's copies it replaces: the
// file's name with the run's start (UTC) before its last extension, and the
// way back from such a name to the file's name and that time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace backup {

// The folder of the target that holds the replaced copies.
extern const wchar_t kVersionsFolder[];

// Seconds since 1970-01-01 00:00:00 UTC.
using UtcSeconds = std::int64_t;

// "2026_12_07 13_05_00 UTC".
std::wstring VersionStamp(UtcSeconds time);

// "report.docx" kept at time: "report (2026_12_07 13_05_00 UTC).docx";
// "archive.tar.gz": "archive.tar (...).gz"; a name without an extension, or
// whose only dot is its first character (".profile"), gets the stamp at its
// end. The second and later copies of one time add " (2)", " (3)"... after
// the stamp.
std::wstring VersionName(std::wstring_view name, UtcSeconds time, unsigned copy = 1);

struct VersionOf {
  std::wstring name;  // the file's own name
  UtcSeconds time;
  unsigned copy;
};

// What a name is a version of: nothing for a name VersionName does not
// make (a file someone put in the versions folder).
std::optional<VersionOf> ReadVersionName(std::wstring_view name);

}  // namespace backup
