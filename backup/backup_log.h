// backup.log: the plain-text record of one backup run, one line per folder
// walked and per file tried, in the ANSI code page with CRLF line ends.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/time_spent.h"

namespace backup {

extern const wchar_t kLogFileName[];

// "Folder: C:\Data\" — folder always ends in "\".
std::wstring FolderLine(const std::wstring& label, const std::wstring& folder);
// "a.txt<tab>-->file copied": the name only, no blank around the tab or
// after the arrow.
std::wstring FileLine(const std::wstring& name, const std::wstring& status);

// The log of one run. Lines are gathered and written some tens of
// kilobytes at a time (a write per line costs a run of small files about
// as much as copying them), and at Flush and Close. A write that fails
// closes the file: the backup goes on without it and failed() tells the run
// so.
class BackupLog {
 public:
  // Creates target + "backup.log", or empties the one there; target ends in "\".
  bool Open(const std::wstring& target);
  void Write(const std::wstring& line);
  void Flush();
  bool failed() const { return failed_; }
  void Close();
  // Adds the time the lines take to write to spent (nothing when null).
  void MeasureWriting(platform::TimeSpent* spent) { writing_ = spent; }

 private:
  platform::AnsiTextWriter writer_;
  std::wstring gathered_;  // lines not yet written, each but the last ended by CRLF
  bool failed_ = false;
  platform::TimeSpent* writing_ = nullptr;
};

}  // namespace backup
