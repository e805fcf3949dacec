// The copy engine's walk over a source tree, its file copy with progress,
// and the folder search and creation it relies on.
#include "backup/copy_engine.h"

#include "backup/path_parts.h"
#include "platform/shell.h"

namespace backup {
std::unique_ptr<platform::FileSearch> StartSearch(const std::wstring& path, bool isFile) {
  return std::make_unique<platform::FileSearch>(isFile ? path : AddBackslash(path) + L"*.*");
}

bool MakePath(const std::wstring& path) {
  std::wstring rest = AddBackslash(path);
  const std::wstring full = rest;
  // A relative path would land wherever the current folder happens to be.
  if (!IsAbsolutePath(rest)) return false;
  std::wstring built = NextPathPart(rest, L'\\');  // "D:\" or "\\srv\"
  while (!rest.empty()) {
    std::wstring part = NextPathPart(rest, L'\\');
    // A remainder such as "\\" has no further level to make.
    if (part.empty()) break;
    built += part;
    // Levels that exist, and a share name, simply fail.
    platform::CreateFolder(built);
  }
  return platform::FolderExists(full);
}

CopyEngine::CopyEngine(RunFlags& flags, const app::MainTexts& texts)
    : flags_(flags),
      texts_(texts),
      progress_([this](platform::CopyProgressReason reason, std::uint64_t total_file_size,
                       std::uint64_t total_bytes_transferred) {
        CopyProgress(reason, total_file_size, total_bytes_transferred);
      }) {}

void CopyEngine::SetRow(platform::ProgressBar* bar, BackupLog* log) {
  bar_ = bar;
  log_ = log;
}

void CopyEngine::CopySource(std::wstring src, std::wstring dst, bool useProgress, bool isFile) {
  if (!isFile) src = AddBackslash(src);
  dst = AddBackslash(dst);
  // An empty path (a store whose file is unknown) would search the root of
  // the current drive.
  std::unique_ptr<platform::FileSearch> search;
  if (src != L"" && src != L"\\") search = StartSearch(src, isFile);
  if (!search || !search->found()) {
    platform::CurrentDialogs().MessageBoxOk(texts_.strLogSource + src + L" " + texts_.strNotFound);
    return;
  }
  CopyInto(*search, src, dst, useProgress, isFile);
}

void CopyEngine::CopyInto(platform::FileSearch& search, const std::wstring& src,
                          const std::wstring& dst, bool useProgress, bool isFile) {
  if (!platform::FolderExists(dst) && !MakePath(dst)) {
    flags_.bTargetError = true;
    return;
  }
  CopyFolderContents(search, src, dst, useProgress, isFile);
}

// A sub-folder was listed by its parent, so a search that finds nothing
// means it cannot be read (no access, gone meanwhile): its files are not
// backed up, and the row says so instead of asking the user mid-run.
void CopyEngine::CopySubFolder(const std::wstring& src, const std::wstring& dst,
                               bool useProgress) {
  std::unique_ptr<platform::FileSearch> search = StartSearch(src, false);
  if (!search->found()) {
    flags_.bFileError = true;
    Log(FileLine(src, texts_.strLogNotCopied));
    return;
  }
  CopyInto(*search, src, dst, useProgress, false);
}

void CopyEngine::CopyFolderContents(platform::FileSearch& search, std::wstring src,
                                    const std::wstring& dst, bool useProgress, bool isFile) {
  if (isFile) src = FolderOfFile(src);
  Log(FolderLine(texts_.strLogFolder, src));
  const std::wstring srcDir = AddBackslash(src);
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.is_system()) continue;
    const std::wstring name = entry.name;
    if (entry.is_directory()) {
      if (name == L"." || name == L"..") continue;
      // A cancel pressed during the last yield: nothing more is begun.
      if (flags_.bCancel) return;
      CopySubFolder(srcDir + name + L"\\", dst + name + L"\\", useProgress);
      if (flags_.bCancel) return;
    } else {
      // After a cancel the file is not begun, and its line says why.
      const std::uint64_t size = entry.size();
      streamBegun_ = false;
      const bool ok = !flags_.bCancel && CopyOneFile(srcDir + name, dst + name, useProgress);
      // Some systems copy without calling back; the bar then moves by whole files.
      if (ok && useProgress && !streamBegun_) {
        flags_.curCopied += size;
        ShowProgress(static_cast<double>(flags_.curCopied));
      }
      const std::wstring* status = &texts_.strLogCopied;
      if (flags_.bCancel) {
        status = &texts_.strLogUserCancelled;
      } else if (!ok) {
        status = &texts_.strLogNotCopied;
        flags_.bFileError = true;
      }
      Log(FileLine(name, *status));
      if (flags_.bCancel) return;
    }
    LetWindowRun();
  } while (search.Next());
}

bool CopyEngine::CopyOneFile(const std::wstring& src, const std::wstring& dst, bool useProgress) {
  static const platform::CopyProgressRoutine kNoProgress;
  return platform::CopyFileWithProgress(src, dst, useProgress ? progress_ : kNoProgress,
                                        &flags_.bCancel);
}

// Counts in 64 bits and draws through a bar that takes any double, so a row
// of many gigabytes moves as well as a small one; nothing here can fail the
// copy.
void CopyEngine::CopyProgress(platform::CopyProgressReason reason, std::uint64_t total_file_size,
                              std::uint64_t total_bytes_transferred) {
  switch (reason) {
    case platform::CopyProgressReason::kStreamSwitch:
      streamBegun_ = true;
      flags_.curCopied += total_file_size;
      break;
    case platform::CopyProgressReason::kChunkFinished:
      ShowProgress(static_cast<double>(flags_.curCopied) - static_cast<double>(total_file_size) +
                   static_cast<double>(total_bytes_transferred));
      LetWindowRun();
      break;
    case platform::CopyProgressReason::kOther:
      break;
  }
}

void CopyEngine::LetWindowRun() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastYield_ < yieldEvery) return;
  yield();
  lastYield_ = std::chrono::steady_clock::now();
}

// The bar is filled by the run when the row ends, never here: a row whose
// files grew since they were measured keeps its bar where it was.
void CopyEngine::ShowProgress(double done) {
  if (bar_ && bar_->maximum() > done) bar_->set_value(done);
}

void CopyEngine::Log(const std::wstring& line) {
  if (log_) log_->Write(line);
}

}  // namespace backup
