// The copy engine's pool of workers: each copies a file under a temporary
// name beside its destination and moves it to its name when whole, waiting
// out files another program holds for a moment.
#include "backup/copy_engine.h"

#include <algorithm>

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
  if (name.size() <= prefix.size() + suffix.size()) return false;
  if (!platform::SameTextIgnoringCase(name.substr(0, prefix.size()), prefix) ||
      !platform::SameTextIgnoringCase(name.substr(name.size() - suffix.size()), suffix))
    return false;
  const std::wstring_view number =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return std::all_of(number.begin(), number.end(),
                     [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// FAT and FAT32 keep a file's size in 32 bits; every other file system the
// program meets holds far more than any source.
std::uint64_t LargestFileOn(std::wstring_view file_system) {
  if (platform::SameTextIgnoringCase(file_system.substr(0, 3), L"FAT")) return 0xFFFFFFFFull;
  return UINT64_MAX;
}

void CopyEngine::StartWorkers() {
  walk_done_ = false;
  for (int i = 0; i < std::max(workers, 1); ++i)
    workers_.emplace_back([this] {
      // The window's thread is never kept waiting by the copies.
      platform::YieldProcessorToForeground();
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
    const bool copied = !flags_.cancel_requested && CopyOneFile(job, chunk);
    std::lock_guard<std::mutex> lock(mutex_);
    if (copied || !flags_.cancel_requested) {
      job.entry->state = LogEntry::State::kReady;
      job.entry->text = FileLine(job.name, copied ? texts_.log_copied : texts_.log_not_copied);
      if (!copied) flags_.file_error = true;
    } else {
      job.entry->state = LogEntry::State::kCancelled;
    }
    WriteReadyLines();
  }
}

// Written under a temporary name beside its destination, then moved to its
// name in one step: a failed, cancelled or killed copy leaves the older
// file as it was and nothing half-written under the file's name.
bool CopyEngine::CopyOneFile(const Job& job, std::vector<char>& chunk) {
  // Too large for the target's file system (over 4 GiB to FAT32): nothing
  // of it is written.
  if (job.size > largest_file_) return false;
  // Large files one at a time, so a disk is not made to seek between them.
  std::unique_lock<std::mutex> large(large_file_, std::defer_lock);
  if (job.size >= kChunkBytes) large.lock();
  const std::wstring destination = job.folder + job.name;
  for (int tries = 0; tries < 100; ++tries) {
    const std::wstring name = TemporaryName(next_temporary_++);
    if (job.reserved->count(platform::FoldedName(name))) continue;
    const std::wstring temporary = job.folder + name;
    const platform::FileResult copied = CopyTo(job, temporary, chunk);
    // Someone else's file of that name: left alone, another name tried.
    if (copied == platform::FileResult::kExists) continue;
    // A failed copy has removed its temporary file already.
    if (copied != platform::FileResult::kDone) return false;
    if (WaitingOutHeldFiles([&] { return platform::MoveFileOver(temporary, destination); }) ==
        platform::FileResult::kDone) {
      ReportProgress(job.size);
      return true;
    }
    platform::DeleteFileAt(temporary);
    return false;
  }
  return false;
}

platform::FileResult CopyEngine::CopyTo(const Job& job, const std::wstring& temporary,
                                        std::vector<char>& chunk) {
  return WaitingOutHeldFiles([&] {
    platform::FileResult result;
    if (job.size < kChunkBytes) {
      result = platform::CopyFileWithProgress(job.source, temporary, {}, &flags_.cancel_requested);
    } else {
      if (chunk.size() != kChunkBytes) chunk.resize(kChunkBytes);
      const std::uint64_t before = flags_.bytes_copied;
      result = platform::CopyFileInChunks(
          job.source, temporary, chunk,
          [&](platform::CopyProgressReason reason, std::uint64_t, std::uint64_t transferred) {
            if (reason == platform::CopyProgressReason::kChunkFinished && row_progress_) {
              std::lock_guard<std::mutex> lock(progress_);
              row_progress_(static_cast<double>(before + transferred));
            }
          },
          &flags_.cancel_requested);
    }
    if (result != platform::FileResult::kDone && result != platform::FileResult::kExists)
      platform::DeleteFileAt(temporary);
    return result;
  });
}

// Virus scanners, the indexer and thumbnailers hold a new or an old file
// for a moment: such a refusal is tried again for a while before the file
// counts as not copied.
template <typename Attempt>
platform::FileResult CopyEngine::WaitingOutHeldFiles(Attempt attempt) {
  std::chrono::milliseconds waited{0}, pause{50};
  for (;;) {
    const platform::FileResult result = attempt();
    if (result != platform::FileResult::kHeld || waited >= held_file_patience) return result;
    for (auto slept = std::chrono::milliseconds(0); slept < pause;
         slept += std::chrono::milliseconds(25)) {
      if (flags_.cancel_requested) return result;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    waited += pause;
    pause = std::min(pause * 2, std::chrono::milliseconds(500));
  }
}

// Counts in 64 bits and reports a double, so a row of many gigabytes moves
// as well as a small one.
void CopyEngine::ReportProgress(std::uint64_t bytes) {
  const std::uint64_t total = flags_.bytes_copied += bytes;
  if (!row_progress_) return;
  std::lock_guard<std::mutex> lock(progress_);
  row_progress_(static_cast<double>(total));
}

}  // namespace backup
