// The copy engine: copies one backup source, a folder tree or one mail-store
// file, into its destination folder. It merges into what is there and
// replaces files of the same name (or, when asked, leaves alone those whose
// size and last-write time match), reports the row's progress, writes one
// log line per folder and per file, and stops when the user cancels.
//
// The walk runs on the thread that calls CopySource; the files it finds are
// copied by a small pool of workers, several small files at once and large
// ones one at a time. The log keeps the walk's order whatever order the
// copies finish in.
//
// Threads. The caller sets the public members and calls SetRow before
// CopySource; the walk (on the caller's thread) sets largest_file_ and
// target_times_ before StartWorkers. From then on the workers only read
// those, the walk alone touches made_, reached_ and cancel_logged_, and
// stopped_ is set once the workers have ended. mutex_ guards lines_, jobs_,
// walk_done_ and cancelled_in_: the walk appends a line and its job under
// it, a worker takes the job and settles the line under it. A job points at its
// line: std::deque keeps references to its elements on push_back and
// pop_front, and a line is popped only once settled, so the pointer holds
// while the job lives. progress_ guards in_flight_, shown_ and the calls of
// the row's sink; large_file_ lets one large file copy at a time;
// next_temporary_, large_copies_ and the RunFlags are atomic. A walk waiting for room is
// always woken after a cancel: every line it waits behind belongs to a job
// some worker will finish, and each worker, settling a line, notifies
// room_ready_ once the cancel is set.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "backup/backup_log.h"
#include "backup/destination_listing.h"
#include "backup/run_texts.h"
#include "backup/version_names.h"
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
  // The files and folders of the whole run that were not copied.
  std::atomic<long long> not_copied{0};
  void MarkNotCopied() {
    file_error = true;
    ++not_copied;
  }
  // Bytes of the current row's files done so far: copied, or found
  // unchanged.
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
// The number of a temporary name; nothing for another name, or for a
// number too long to count.
std::optional<std::uint64_t> TemporaryNumber(std::wstring_view name);

// The largest file a file system of that name can hold.
std::uint64_t LargestFileOn(std::wstring_view file_system);

// What a test or a benchmark puts in the engine's way. The engine keeps the
// seams it is made with by reference and reads them as it goes, so a test
// may change them between copies; the program's engine has none.
struct CopySeams {
  // Files copied at once; 0: the engine's default.
  int workers = 0;
  // Called by the walk after each entry it has dealt with; one that holds
  // the walk there lets it go on a cancel.
  std::function<void(const RunFlags& flags)> after_entry;
  // Takes the place of the waits between tries of a refused file.
  std::function<void(std::chrono::milliseconds, const RunFlags& flags)> pause;
  // Takes the place of the target's file system name.
  std::wstring file_system;
  // Called by a worker whose copy found the target full.
  std::function<void(const std::wstring& name)> after_no_room;
  // Called by a worker once a replaced copy is among the versions and the
  // new one, whole, is still under its temporary name.
  std::function<void(const std::wstring& temporary)> after_version_kept;
};
inline const CopySeams kNoCopySeams{};

class CopyEngine {
 public:
  // Told the bytes of the row done so far, never less than the last call
  // told; called from the walk and the workers, one call at a time.
  using ProgressSink = std::function<void(double bytes_copied)>;

  CopyEngine(RunFlags& flags, const CopyTexts& texts, const CopySeams& seams = kNoCopySeams);

  // Where the progress and the log lines (no log when it is null) of the
  // row that the next CopySource copies go.
  void SetRow(ProgressSink progress, BackupLog* log);

  // Copies src into the folder dst and returns when every file is done.
  // is_file: src is a single file (a mail store); otherwise a folder, copied
  // with everything below it. False when the source is not there.
  bool CopySource(std::wstring src, std::wstring dst, bool is_file);
  // Whether the last CopySource's cancel stopped a file or a folder: false
  // when it came after everything was done.
  bool cancel_stopped_something() const { return stopped_; }

  // A file whose destination holds a file of its size and last-write time
  // is left as it is.
  bool copy_only_changed = false;
  // Where the target's copies that this row's files replace are kept (the
  // row's folder among the versions, with its trailing "\"): renamed there,
  // below the same sub-folders, once the new copy is whole. None are kept
  // when it is empty.
  std::wstring versions_folder;
  // The run's start, in the names of the versions it keeps.
  UtcSeconds version_time = 0;
  // Files copied at once. On the benchmark's 20,000 small files four
  // workers take 0.58 of one worker's time; two and eight gain less.
  static constexpr int kDefaultWorkers = 4;
  // How long a file held by another program (a virus scanner, the indexer)
  // is waited for before it counts as not copied.
  std::chrono::milliseconds held_file_patience{2000};
  // The log line's words for a file still held by another program after
  // the patience; "" for the usual not-copied words. A mail store is held
  // by the mail client while it is open.
  std::wstring held_file_words;

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
    // The destination holds another file of this name: kept as a version.
    bool keep_version = false;
  };
  // How one file's copy ended; held and no room say why it was not copied.
  enum class FileOutcome { kCopied, kCopiedOlderKept, kNotCopied, kHeld, kNoRoom, kOlderNotKept };

  void MakeFoldersAhead(const std::wstring& src, const std::wstring& dst);
  void CopySubFolder(const std::wstring& src, const std::wstring& dst);
  void CopyFolderContents(platform::FileSearch& search, std::wstring src,
                          const std::wstring& dst, bool is_file);
  std::shared_ptr<const std::unordered_set<std::wstring>> PrepareFolder(
      const std::wstring& src_folder, const std::wstring& dst_folder,
      const std::vector<platform::FoundEntry>& src_entries,
      const std::vector<platform::FoundEntry>& dst_entries, DestinationListing* listing);
  void NumberAbove(std::uint64_t number);

  TargetTimes LearnTargetTimes(const std::wstring& dst, const std::wstring& file_system);
  void RemoveFoldersLeftEmpty();

  void StartWorkers();
  void FinishWorkers();
  void Work();
  static bool Copied(FileOutcome outcome) {
    return outcome == FileOutcome::kCopied || outcome == FileOutcome::kCopiedOlderKept;
  }
  static FileOutcome OutcomeOf(platform::FileResult result);
  FileOutcome CopyOneFile(const Job& job, std::vector<char>& chunk);
  FileOutcome CopyViaTemporaryName(const Job& job, std::vector<char>& chunk);
  FileOutcome CopyLargeFile(const Job& job, std::vector<char>& chunk);
  std::wstring KeepOlderCopy(const Job& job);
  const std::wstring& LogStatus(FileOutcome outcome) const;
  platform::FileResult CopyTo(const Job& job, const std::wstring& temporary,
                              std::vector<char>& chunk);
  platform::FileResult WaitingOutRefusals(const std::function<platform::FileResult()>& attempt);
  bool Pause(std::chrono::milliseconds time);
  void FileDone(std::uint64_t bytes, bool large_copy_ended);
  void LargeFileProgress(std::uint64_t transferred);
  void ReportProgress();

  void Log(const std::wstring& line);
  void LogCancel(const std::wstring& name, const std::wstring& dst);
  LogEntry* Append(std::unique_lock<std::mutex>& lock, LogEntry::State state, std::wstring text);
  void WriteReadyLines();
  bool HasRoom() const { return lines_.size() <= kMostAhead / 2; }
  void WriteRemainingLines();

  RunFlags& flags_;
  const CopyTexts& texts_;
  const CopySeams& seams_;
  ProgressSink row_progress_;
  BackupLog* log_ = nullptr;
  std::uint64_t largest_file_ = UINT64_MAX;
  TargetTimes target_times_;
  // The row's destination folder, with its trailing "\".
  std::wstring row_destination_;
  std::atomic<std::uint64_t> next_temporary_{1};

  std::mutex mutex_;
  std::condition_variable work_ready_, room_ready_;
  std::deque<LogEntry> lines_;
  std::deque<Job> jobs_;
  bool walk_done_ = false;
  bool stopped_ = false;
  std::vector<std::thread> workers_;
  // Whether this source's log already tells of the cancel (the walk's).
  bool cancel_logged_ = false;
  // Destination folders with a file whose copy a cancel stopped.
  std::unordered_set<std::wstring> cancelled_in_;
  std::mutex large_file_;
  // Large copies begun; odd while one goes on.
  std::atomic<std::uint64_t> large_copies_{0};

  std::mutex progress_;
  // The large file's bytes copied so far, and the most the sink was told.
  std::uint64_t in_flight_ = 0, shown_ = 0;

  // Destination folders this source made (parents before their folders),
  // and those the walk reached.
  std::vector<std::wstring> made_;
  std::unordered_set<std::wstring> reached_;
};

}  // namespace backup
