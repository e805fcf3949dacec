// The copy engine: copies one backup source, a folder tree or one mail-store
// file, into its destination folder. It merges into what is there and
// replaces files of the same name, reports the row's progress, writes one
// log line per folder and per file, and stops when the user cancels.
//
// The walk runs on the thread that calls CopySource; the files it finds are
// copied by a small pool of workers, several small files at once and large
// ones one at a time. The log keeps the walk's order whatever order the
// copies finish in.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "backup/backup_log.h"
#include "backup/run_texts.h"
#include "platform/file_copy.h"
#include "platform/files.h"

namespace backup {

// What the backup run and the copy engine share while a run goes on; any
// thread may read and set them.
struct RunFlags {
  // Set by a press during the run; every copy in progress stops at its next
  // piece.
  std::atomic<bool> cancel_requested{false};
  // A destination folder could not be made.
  std::atomic<bool> target_error{false};
  // Something of the current row was not copied.
  std::atomic<bool> file_error{false};
  // Bytes of the current row's files copied so far.
  std::atomic<std::uint64_t> bytes_copied{0};
};

// Creates every missing level of path, a drive ("D:\...") or network
// ("\\srv\share\...") path, and tells whether the folder is there afterwards.
// Other paths are not created.
bool MakePath(const std::wstring& path);

// A file is copied under a name of this form beside its destination and
// takes its name only when whole: "~tavrik" + number + ".tmp".
std::wstring TemporaryName(std::uint64_t number);
bool IsTemporaryName(std::wstring_view name);

// The largest file a file system of that name can hold.
std::uint64_t LargestFileOn(std::wstring_view file_system);

class CopyEngine {
 public:
  // Told the bytes of the row copied so far; called from the workers, one
  // call at a time.
  using ProgressSink = std::function<void(double bytes_copied)>;

  CopyEngine(RunFlags& flags, const CopyTexts& texts);

  // Where the progress and the log lines (no log when it is null) of the
  // row that the next CopySource copies go.
  void SetRow(ProgressSink progress, BackupLog* log);

  // Copies src into the folder dst and returns when every file is done.
  // is_file: src is a single file (a mail store); otherwise a folder, copied
  // with everything below it. False when the source is not there.
  bool CopySource(std::wstring src, std::wstring dst, bool is_file);

  // Files copied at once. Measured on many small files, four workers
  // copy about twice as fast as one; more gain little.
  static constexpr int kDefaultWorkers = 4;
  int workers = kDefaultWorkers;
  // How long a file held by another program (a virus scanner, the indexer)
  // is waited for before it counts as not copied.
  std::chrono::milliseconds held_file_patience{2000};
  // Called by the walk after each entry it has dealt with (for tests).
  std::function<void()> after_entry;

  // Files of this size and larger are copied here piece by piece, one at a
  // time, and flushed to the disk before they take their name.
  static constexpr std::size_t kChunkBytes = 4u << 20;
  // Log lines the walk may run ahead of the copies.
  static constexpr std::size_t kMostAhead = 2048;

 private:
  // A line of the log in the walk's order; a file's line is known once its
  // copy ends.
  struct LogEntry {
    enum class State { kPending, kReady, kCancelled } state;
    std::wstring text;  // the line, or the name a cancel line names
  };
  struct Job {
    std::wstring source, folder, name;
    std::uint64_t size = 0;
    // Names of the temporary form that the source folder itself uses.
    std::shared_ptr<const std::unordered_set<std::wstring>> reserved;
    LogEntry* entry = nullptr;
  };

  void MakeFoldersAhead(const std::wstring& src, const std::wstring& dst);
  void CopySubFolder(const std::wstring& src, const std::wstring& dst);
  void CopyFolderContents(platform::FileSearch& search, std::wstring src,
                          const std::wstring& dst, bool is_file);
  std::shared_ptr<const std::unordered_set<std::wstring>> PrepareFolder(
      const std::wstring& src_folder, const std::wstring& dst_folder);

  void StartWorkers();
  void FinishWorkers();
  void Work();
  bool CopyOneFile(const Job& job, std::vector<char>& chunk);
  platform::FileResult CopyTo(const Job& job, const std::wstring& temporary,
                              std::vector<char>& chunk);
  template <typename Attempt>
  platform::FileResult WaitingOutHeldFiles(Attempt attempt);
  void ReportProgress(std::uint64_t bytes);

  void Log(const std::wstring& line);
  void LogCancel(const std::wstring& name);
  LogEntry* Append(std::unique_lock<std::mutex>& lock, LogEntry::State state, std::wstring text);
  void WriteReadyLines();
  bool HasRoom() const { return lines_.size() <= kMostAhead / 2; }
  void WriteRemainingLines();

  RunFlags& flags_;
  const CopyTexts& texts_;
  ProgressSink row_progress_;
  BackupLog* log_ = nullptr;
  std::uint64_t largest_file_ = UINT64_MAX;
  std::atomic<std::uint64_t> next_temporary_{1};

  std::mutex mutex_;  // guards the lines, the jobs and walk_done_
  std::condition_variable work_ready_, room_ready_;
  std::deque<LogEntry> lines_;
  std::deque<Job> jobs_;
  bool walk_done_ = false;
  std::vector<std::thread> workers_;
  // Whether this source's log already tells of the cancel (the walk's).
  bool cancel_logged_ = false;
  std::mutex large_file_, progress_;

  // Destination folders made ahead of the walk, and those the walk reached.
  std::vector<std::wstring> made_ahead_;
  std::unordered_set<std::wstring> reached_;
};

}  // namespace backup
