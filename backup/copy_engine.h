// The copy engine: copies one backup source, a folder tree or one mail-store
// file, into its destination folder. It merges into what is there and
// replaces files of the same name, moves the row's progress bar, writes one
// log line per folder and per file, and stops when the user cancels.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/texts.h"
#include "backup/backup_log.h"
#include "platform/controls.h"
#include "platform/files.h"

namespace backup {

// What the backup run and the copy engine share while a run goes on.
struct RunFlags {
  // 0, or -1 once the user pressed cancel. The copy call watches it through
  // its address, so a long file copy stops as soon as it is set.
  volatile std::int32_t bCancel = 0;
  // A destination folder could not be made.
  bool bTargetError = false;
  // Something of the current row was not copied.
  bool bFileError = false;
  // Sizes of the files begun so far in the current row.
  std::uint64_t curCopied = 0;
};

// A search over the entries of the folder path ("*.*" added) or, for a
// file, over that one file. found() is false when nothing is there.
std::unique_ptr<platform::FileSearch> StartSearch(const std::wstring& path, bool isFile);

// Creates every missing level of path, a drive ("D:\...") or network
// ("\\srv\share\...") path, and tells whether the folder is there afterwards.
// Other paths are not created.
bool MakePath(const std::wstring& path);

class CopyEngine {
 public:
  CopyEngine(RunFlags& flags, const app::MainTexts& texts);

  // The bar and the log (none when the log option is off) of the row that
  // the next CopySource copies.
  void SetRow(platform::ProgressBar* bar, BackupLog* log);

  // Copies src into the folder dst. isFile: src is a single file (a mail
  // store); otherwise a folder, copied with everything below it.
  void CopySource(std::wstring src, std::wstring dst, bool useProgress, bool isFile);

  // Lets the window run its pending messages; a second press of the busy
  // button runs in here. Called after each file, folder and copied chunk,
  // but at most once per yieldEvery: letting the window run costs more than
  // copying a small file.
  std::function<void()> yield = platform::DoEvents;
  std::chrono::milliseconds yieldEvery{15};

  // Files larger than this are copied here chunk by chunk, so the window
  // keeps running and a cancel is honoured within the file even where the
  // system's copy calls back no progress.
  static constexpr std::size_t kChunkBytes = 4u << 20;
  // Beside each file while it is copied; it takes the file's place only when
  // the copy is whole, so a failed copy never spoils an older good one.
  static const wchar_t kPartSuffix[];

 private:
  void CopySubFolder(const std::wstring& src, const std::wstring& dst, bool useProgress);
  void CopyFolderContents(platform::FileSearch& search, std::wstring src, const std::wstring& dst,
                          bool useProgress, bool isFile);
  bool CopyOneFile(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                   bool useProgress);
  bool CopyFileTo(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                  bool useProgress, bool keepExisting);
  void CopyProgress(platform::CopyProgressReason reason, std::uint64_t total_file_size,
                    std::uint64_t total_bytes_transferred);
  void LetWindowRun();
  void ShowProgress(double done);
  void Log(const std::wstring& line);
  void LogCancel(const std::wstring& name);

  RunFlags& flags_;
  const app::MainTexts& texts_;
  platform::ProgressBar* bar_ = nullptr;
  BackupLog* log_ = nullptr;
  std::chrono::steady_clock::time_point lastYield_;
  // Whether the copy of the current file reported its streams.
  bool streamBegun_ = false;
  std::vector<char> chunk_;
  // Whether this source's log already tells of the cancel.
  bool cancelLogged_ = false;
  const platform::CopyProgressRoutine progress_;
};

}  // namespace backup
