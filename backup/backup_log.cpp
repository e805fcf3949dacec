// The log's line formats and its file.
#include "backup/backup_log.h"

namespace backup {

const wchar_t kLogFileName[] = L"backup.log";

std::wstring FolderLine(const std::wstring& label, const std::wstring& folder) {
  return label + folder;
}

std::wstring FileLine(const std::wstring& name, const std::wstring& status) {
  return name + L"\t-->" + status;
}

bool BackupLog::Open(const std::wstring& target) {
  failed_ = !writer_.Open(target + kLogFileName);
  return !failed_;
}

void BackupLog::Write(const std::wstring& line) {
  if (failed_) return;
  platform::MeasuredScope measure(writing_);
  if (writer_.WriteLine(line)) return;
  failed_ = true;
  writer_.Close();
}

}  // namespace backup
