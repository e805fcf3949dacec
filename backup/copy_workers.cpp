// The copy engine's pool of workers: each copies a file under a temporary
// name beside its destination and moves it to its name when whole, waiting
// out files another program holds for a moment.
#include "backup/copy_engine.h"

#include <algorithm>

#include "backup/file_refusals.h"
#include "backup/version_keeping.h"
#include "platform/program.h"

namespace backup {
namespace {

const wchar_t kTemporaryPrefix[] = L"~tavrik";
const wchar_t kTemporarySuffix[] = L".tmp";

}  // namespace

std::wstring TemporaryName(std::uint64_t number) {
  return kTemporaryPrefix + std::to_wstring(number) + kTemporarySuffix;
}

bool IsTemporaryName(std::wstring_view name) {
  const std::wstring_view prefix = kTemporaryPrefix, suffix = kTemporarySuffix;
  if (name.size() <= prefix.size() + suffix.size() || name[0] != prefix[0]) return false;
  if (!platform::SameTextIgnoringCase(name.substr(0, prefix.size()), prefix) ||
      !platform::SameTextIgnoringCase(name.substr(name.size() - suffix.size()), suffix))
    return false;
  const std::wstring_view number =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return std::all_of(number.begin(), number.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::optional<std::uint64_t> TemporaryNumber(std::wstring_view name) {
  if (!IsTemporaryName(name)) return std::nullopt;
  const std::size_t prefix = std::char_traits<wchar_t>::length(kTemporaryPrefix);
  const std::size_t digits = name.size() - prefix - std::char_traits<wchar_t>::length(kTemporarySuffix);
  if (digits > 18) return std::nullopt;
  std::uint64_t number = 0;
  for (wchar_t c : name.substr(prefix, digits)) number = number * 10 + (c - L'0');
  return number;
}

platform::FileResult RetryingRefusals(const std::function<platform::FileResult()>& attempt,
                                      std::chrono::milliseconds held_patience,
                                      const std::function<bool(std::chrono::milliseconds)>& pause) {
  std::chrono::milliseconds waited{0}, next{50};
  bool denied_before = false;
  for (;;) {
    const platform::FileResult result = attempt();
    if (result == platform::FileResult::kDenied) {
      if (denied_before || !pause(kDeniedPause)) return result;
      denied_before = true;
      continue;
    }
    if (result != platform::FileResult::kHeld || waited >= held_patience || !pause(next))
      return result;
    waited += next;
    next = std::min(next * 2, std::chrono::milliseconds(500));
  }
}

// FAT and FAT32 keep a file's size in 32 bits; every other file system the
// program meets holds far more than any source.
std::uint64_t LargestFileOn(std::wstring_view file_system) {
  if (platform::SameTextIgnoringCase(file_system.substr(0, 3), L"FAT")) return 0xFFFFFFFFull;
  return UINT64_MAX;
}

void CopyEngine::StartWorkers() {
  walk_done_ = false;
  const int workers = seams_.workers > 0 ? seams_.workers : kDefaultWorkers;
  for (int i = 0; i < workers; ++i)
    workers_.emplace_back([this] {
      // The window's thread is never kept waiting by the copies.
      platform::LowerThreadPriority();
      Work();
    });
}

void CopyEngine::FinishWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    walk_done_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
  WriteRemainingLines();
}

void CopyEngine::Work() {
  std::vector<char> chunk;
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      work_ready_.wait(lock, [this] { return !jobs_.empty() || walk_done_; });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    const FileOutcome outcome =
        flags_.cancel_requested ? FileOutcome::kNotCopied : CopyOneFile(job, chunk);
    const bool copied = Copied(outcome);
    std::lock_guard<std::mutex> lock(mutex_);
    if (copied || !flags_.cancel_requested) {
      job.entry->state = LogEntry::State::kReady;
      job.entry->text = FileLine(job.name, LogStatus(outcome));
      if (!copied) flags_.MarkNotCopied();
    } else {
      job.entry->state = LogEntry::State::kCancelled;
      cancelled_in_.insert(job.folder);
    }
    WriteReadyLines();
  }
}

const std::wstring& CopyEngine::LogStatus(FileOutcome outcome) const {
  switch (outcome) {
    case FileOutcome::kCopied: return texts_.log_copied;
    case FileOutcome::kCopiedOlderKept: return texts_.log_copied_older_kept;
    case FileOutcome::kOlderNotKept: return texts_.log_older_not_kept;
    case FileOutcome::kHeld: return held_file_words.empty() ? texts_.log_not_copied : held_file_words;
    default: return texts_.log_not_copied;
  }
}

CopyEngine::FileOutcome CopyEngine::OutcomeOf(platform::FileResult result) {
  switch (result) {
    case platform::FileResult::kDone: return FileOutcome::kCopied;
    case platform::FileResult::kHeld: return FileOutcome::kHeld;
    case platform::FileResult::kNoRoom: return FileOutcome::kNoRoom;
    default: return FileOutcome::kNotCopied;
  }
}

CopyEngine::FileOutcome CopyEngine::CopyOneFile(const Job& job, std::vector<char>& chunk) {
  // Too large for the target's file system (over 4 GiB to FAT32): nothing
  // of it is written.
  if (job.size > largest_file_) return FileOutcome::kNotCopied;
  if (job.size >= kChunkBytes) {
    const FileOutcome outcome = CopyLargeFile(job, chunk);
    FileDone(Copied(outcome) ? job.size : 0, true);
    return outcome;
  }
  const std::uint64_t large_before = large_copies_;
  FileOutcome outcome = CopyViaTemporaryName(job, chunk);
  // A large file's temporary copy may have filled the disk only for a
  // while: once it has ended (and, failing, gone) there may be room.
  if (outcome == FileOutcome::kNoRoom && (large_before % 2 || large_copies_ != large_before)) {
    if (seams_.after_no_room) seams_.after_no_room(job.name);
    std::lock_guard<std::mutex> after_it(large_file_);
    outcome = CopyViaTemporaryName(job, chunk);
  }
  if (Copied(outcome)) FileDone(job.size, false);
  return outcome;
}

// Large files one at a time, so a disk is not made to seek between them,
// and only when they fit: a copy that fills the disk on its way fails
// anyway, after failing the small files copied meanwhile.
CopyEngine::FileOutcome CopyEngine::CopyLargeFile(const Job& job, std::vector<char>& chunk) {
  std::lock_guard<std::mutex> one_at_a_time(large_file_);
  const std::optional<std::uint64_t> room = platform::FreeBytes(job.folder);
  if (room && *room < job.size) return FileOutcome::kNoRoom;
  ++large_copies_;
  const FileOutcome outcome = CopyViaTemporaryName(job, chunk);
  ++large_copies_;
  return outcome;
}

// Written under a temporary name beside its destination, then moved to its
// name in one step: a failed, cancelled or killed copy leaves the older
// file as it was and nothing half-written under the file's name. An older
// copy to keep moves among the versions only once the new one is whole, so
// a kill in between leaves both, the new one under its temporary name.
CopyEngine::FileOutcome CopyEngine::CopyViaTemporaryName(const Job& job, std::vector<char>& chunk) {
  const std::wstring destination = job.folder + job.name;
  for (int tries = 0; tries < 100;) {
    const std::wstring name = TemporaryName(next_temporary_++);
    // A name the source folder itself uses is no try: the next number is.
    if (job.reserved->count(platform::FoldedName(name))) continue;
    ++tries;
    const std::wstring temporary = job.folder + name;
    const platform::FileResult copied = CopyTo(job, temporary, chunk);
    // Someone else's file of that name: left alone, another name tried.
    if (copied == platform::FileResult::kExists) continue;
    // A failed copy has removed its temporary file already.
    if (copied != platform::FileResult::kDone) return OutcomeOf(copied);
    const std::wstring version = job.keep_version ? KeepOlderCopy(job) : L"";
    if (job.keep_version && version.empty()) {
      // The older copy stays the target's, unreplaced.
      platform::DeleteFileAt(temporary);
      return FileOutcome::kOlderNotKept;
    }
    if (!version.empty() && seams_.after_version_kept) seams_.after_version_kept(temporary);
    const platform::FileResult moved =
        WaitingOutRefusals([&] { return platform::MoveFileOver(temporary, destination); });
    if (moved == platform::FileResult::kDone)
      return version.empty() ? FileOutcome::kCopied : FileOutcome::kCopiedOlderKept;
    platform::DeleteFileAt(temporary);
    // Rather the older copy back under its name than no file there.
    if (!version.empty()) platform::MoveFileAside(version, destination);
    return OutcomeOf(moved);
  }
  return FileOutcome::kNotCopied;
}

// The destination's file into the versions folder, below the same
// sub-folders of the row: its path there, or "" when it could not go.
std::wstring CopyEngine::KeepOlderCopy(const Job& job) {
  const std::wstring below_row = job.folder.substr(std::min(row_destination_.size(), job.folder.size()));
  return KeepVersion(job.folder + job.name, versions_folder + below_row, job.name, version_time,
                     [this](const std::function<platform::FileResult()>& attempt) {
                       return WaitingOutRefusals(attempt);
                     });
}

platform::FileResult CopyEngine::CopyTo(const Job& job, const std::wstring& temporary,
                                        std::vector<char>& chunk) {
  return WaitingOutRefusals([&] {
    platform::FileResult result;
    if (job.size < kChunkBytes) {
      result = platform::CopyFileWithProgress(job.source, temporary, {}, &flags_.cancel_requested);
    } else {
      if (chunk.size() != kChunkBytes) chunk.resize(kChunkBytes);
      result = platform::CopyFileInChunks(
          job.source, temporary, chunk,
          [&](platform::CopyProgressReason reason, std::uint64_t, std::uint64_t transferred) {
            if (reason == platform::CopyProgressReason::kChunkFinished) LargeFileProgress(transferred);
          },
          &flags_.cancel_requested);
    }
    if (result != platform::FileResult::kDone && result != platform::FileResult::kExists)
      platform::DeleteFileAt(temporary);
    return result;
  });
}

platform::FileResult CopyEngine::WaitingOutRefusals(
    const std::function<platform::FileResult()>& attempt) {
  return RetryingRefusals(attempt, held_file_patience,
                          [this](std::chrono::milliseconds time) { return Pause(time); });
}

// False when a cancel cut the pause short.
bool CopyEngine::Pause(std::chrono::milliseconds time) {
  if (seams_.pause) {
    seams_.pause(time, flags_);
    return !flags_.cancel_requested;
  }
  constexpr std::chrono::milliseconds kSlice{25};
  for (auto slept = std::chrono::milliseconds(0); slept < time; slept += kSlice) {
    if (flags_.cancel_requested) return false;
    std::this_thread::sleep_for(kSlice);
  }
  return !flags_.cancel_requested;
}

// ---- The row's progress: only ever forward ----

// A file is done (copied or found unchanged) and its bytes count, or a large
// file's copy has ended either way and its part in flight is over. Large
// files copy one at a time, so there is one such part at most.
void CopyEngine::FileDone(std::uint64_t bytes, bool large_copy_ended) {
  std::lock_guard<std::mutex> lock(progress_);
  flags_.bytes_copied += bytes;
  if (large_copy_ended) in_flight_ = 0;
  ReportProgress();
}

void CopyEngine::LargeFileProgress(std::uint64_t transferred) {
  std::lock_guard<std::mutex> lock(progress_);
  in_flight_ = transferred;
  ReportProgress();
}

// Called with progress_ held. Counts in 64 bits and reports a double, so a
// row of many gigabytes moves as well as a small one. A failed or cancelled
// large file leaves the bar where its copy stopped.
void CopyEngine::ReportProgress() {
  const std::uint64_t done = flags_.bytes_copied + in_flight_;
  if (done <= shown_) return;
  shown_ = done;
  if (row_progress_) row_progress_(static_cast<double>(done));
}

}  // namespace backup
