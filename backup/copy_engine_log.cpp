// The copy engine's log, written in the walk's order whatever order the
// copies finish in.
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

// name is a file or folder of the source folder the walk is in, dst that
// folder's copy.
void CopyEngine::LogCancel(const std::wstring& name, const std::wstring& dst) {
  cancel_logged_ = true;
  std::unique_lock<std::mutex> lock(mutex_);
  Append(lock, LogEntry::State::kCancelled, name);
  cancelled_in_.insert(dst);
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

// Once every worker has stopped: every line left in the walk's order, each
// under its own folder's line; a file or folder a cancel stopped says so in
// its place. The walk's own cancel, when it made one, is the last line.
void CopyEngine::WriteRemainingLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopped_ = false;
  for (LogEntry& entry : lines_) {
    const bool cancelled = entry.state != LogEntry::State::kReady;
    stopped_ = stopped_ || cancelled;
    if (log_) log_->Write(cancelled ? FileLine(entry.text, texts_.log_user_cancelled) : entry.text);
  }
  lines_.clear();
}

}  // namespace backup
