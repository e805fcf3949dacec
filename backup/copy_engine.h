// The copy engine: copies one backup source, a folder tree or one mail-store
// file, into its destination folder. It merges into what is there and
// replaces files of the same name, reports the row's progress, writes one
// log line per folder and per file, and stops when the user cancels.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "backup/backup_log.h"
#include "backup/run_texts.h"
#include "platform/file_copy.h"
#include "platform/files.h"
#include "platform/message_loop.h"

namespace backup {

// What the backup run and the copy engine share while a run goes on.
struct RunFlags {
  // Set by a press during the run; a file copy in progress stops at its
  // next chunk.
  bool cancel_requested = false;
  // A destination folder could not be made.
  bool target_error = false;
  // Something of the current row was not copied.
  bool file_error = false;
  // Sizes of the files begun so far in the current row.
  std::uint64_t bytes_copied = 0;
};

// Creates every missing level of path, a drive ("D:\...") or network
// ("\\srv\share\...") path, and tells whether the folder is there afterwards.
// Other paths are not created.
bool MakePath(const std::wstring& path);

class CopyEngine {
 public:
  // Told the bytes of the row copied so far, after each chunk and file. It
  // may pass the row's measured size when files grew meanwhile.
  using ProgressSink = std::function<void(double bytes_copied)>;

  CopyEngine(RunFlags& flags, const CopyTexts& texts);

  // Where the progress and the log lines (no log when it is null) of the
  // row that the next CopySource copies go.
  void SetRow(ProgressSink progress, BackupLog* log);

  // Copies src into the folder dst. is_file: src is a single file (a mail
  // store); otherwise a folder, copied with everything below it.
  void CopySource(std::wstring src, std::wstring dst, bool is_file);

  // Lets the window run its pending messages; a second press of the busy
  // button runs in here. Called after each file, folder and copied chunk,
  // but at most once per yield_every: letting the window run costs more than
  // copying a small file.
  std::function<void()> yield = platform::DoEvents;
  std::chrono::milliseconds yield_every{15};

  // Files larger than this are copied here chunk by chunk, so the window
  // keeps running and a cancel is honoured within the file even where the
  // system's copy calls back no progress.
  static constexpr std::size_t kChunkBytes = 4u << 20;
  // Beside each file while it is copied; it takes the file's place only when
  // the copy is whole, so a failed copy never spoils an older good one.
  static const wchar_t kPartSuffix[];

 private:
  void MakeFoldersAhead(const std::wstring& src, const std::wstring& dst);
  void CopySubFolder(const std::wstring& src, const std::wstring& dst);
  void CopyFolderContents(platform::FileSearch& search, std::wstring src, const std::wstring& dst,
                          bool is_file);
  bool CopyOneFile(const std::wstring& src, const std::wstring& dst, std::uint64_t size);
  bool CopyFileTo(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                  bool keep_existing);
  void OnCopyProgress(platform::CopyProgressReason reason, std::uint64_t total_file_size,
                      std::uint64_t total_bytes_transferred);
  void LetWindowRun();
  void Log(const std::wstring& line);
  void LogCancel(const std::wstring& name);

  RunFlags& flags_;
  const CopyTexts& texts_;
  ProgressSink row_progress_;
  BackupLog* log_ = nullptr;
  std::chrono::steady_clock::time_point last_yield_;
  // Whether the copy of the current file reported its streams.
  bool stream_begun_ = false;
  std::vector<char> chunk_;
  // Whether this source's log already tells of the cancel.
  bool cancel_logged_ = false;
  // Destination folders made ahead of the walk, and those the walk reached.
  std::vector<std::wstring> made_ahead_;
  std::unordered_set<std::wstring> reached_;
  const platform::CopyProgressRoutine copy_progress_;
};

}  // namespace backup
