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
  gathered_.clear();
  failed_ = !writer_.Open(target + kLogFileName);
  return !failed_;
}

void BackupLog::Write(const std::wstring& line) {
  if (failed_) return;
  if (!gathered_.empty()) gathered_ += L"\r\n";
  gathered_ += line;
  constexpr std::size_t kGatheredChars = 32768;
  if (gathered_.size() >= kGatheredChars) Flush();
}

void BackupLog::Flush() {
  if (failed_ || gathered_.empty()) return;
  platform::MeasuredScope measure(writing_);
  const bool written = writer_.WriteLine(gathered_);
  gathered_.clear();
  if (written) return;
  failed_ = true;
  writer_.Close();
}

void BackupLog::Close() {
  Flush();
  writer_.Close();
}

}  // namespace backup
