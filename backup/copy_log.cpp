// The copy engine's log: the lines of the walk and of the copies, written
// in the walk's order whatever order the copies finish in.
#include "backup/copy_engine.h"

namespace backup {

CopyEngine::LogEntry* CopyEngine::Append(std::unique_lock<std::mutex>& lock,
                                         LogEntry::State state, std::wstring text) {
  // The walk waits while it is far ahead of the copies, so a tree of
  // millions of files never has them all listed here. Once stopped it goes
  // on when half the lines are written, not at every line, so it is not
  // woken for each file the copies finish.
  if (lines_.size() >= kMostAhead)
    room_ready_.wait(lock, [this] { return HasRoom() || flags_.cancel_requested; });
  lines_.push_back({state, std::move(text)});
  return &lines_.back();
}

void CopyEngine::Log(const std::wstring& line) {
  std::unique_lock<std::mutex> lock(mutex_);
  Append(lock, LogEntry::State::kReady, line);
  WriteReadyLines();
}

void CopyEngine::LogCancel(const std::wstring& name) {
  cancel_logged_ = true;
  std::unique_lock<std::mutex> lock(mutex_);
  Append(lock, LogEntry::State::kCancelled, name);
}

// Called with mutex_ held: the lines whose turn has come. A cancelled entry
// holds back the rest until the end.
void CopyEngine::WriteReadyLines() {
  while (!lines_.empty() && lines_.front().state == LogEntry::State::kReady) {
    if (log_) log_->Write(lines_.front().text);
    lines_.pop_front();
  }
  if (HasRoom() || flags_.cancel_requested) room_ready_.notify_all();
}

// Once every worker has stopped: each finished file's line in the walk's
// order, then one line for the first file or folder a cancel stopped.
void CopyEngine::WriteRemainingLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::optional<std::wstring> cancelled;
  for (LogEntry& entry : lines_) {
    if (entry.state == LogEntry::State::kReady) {
      if (log_) log_->Write(entry.text);
    } else if (!cancelled) {
      cancelled = entry.text;
    }
  }
  lines_.clear();
  stopped_ = cancelled.has_value();
  if (cancelled && log_) log_->Write(FileLine(*cancelled, texts_.log_user_cancelled));
}

}  // namespace backup
