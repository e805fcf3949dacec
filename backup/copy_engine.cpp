// The copy engine's walk over a source tree, its file copy with progress,
// and the folder search and creation it relies on.
#include "backup/copy_engine.h"

#include <unordered_set>

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

const wchar_t CopyEngine::kPartSuffix[] = L".tavrik-part";

void CopyEngine::CopySource(std::wstring src, std::wstring dst, bool useProgress, bool isFile) {
  if (!isFile) src = AddBackslash(src);
  dst = AddBackslash(dst);
  cancelLogged_ = false;
  // An empty path (a store whose file is unknown) would search the root of
  // the current drive.
  std::unique_ptr<platform::FileSearch> search;
  if (src != L"" && src != L"\\") search = StartSearch(src, isFile);
  if (!search || !search->found()) {
    platform::CurrentDialogs().MessageBoxOk(texts_.strLogSource + src + L" " + texts_.strNotFound);
    return;
  }
  // The row's own folder in the target: without it nothing of any row can
  // go there either, so the run stops.
  if (!platform::FolderExists(dst) && !MakePath(dst)) {
    flags_.bTargetError = true;
    return;
  }
  CopyFolderContents(*search, src, dst, useProgress, isFile);
}

// A sub-folder that cannot be read (no access, gone meanwhile) or made in
// the target (a file of its name in the way) fails that sub-tree only: the
// log names it, the row turns red, the walk goes on.
void CopyEngine::CopySubFolder(const std::wstring& src, const std::wstring& dst,
                               bool useProgress) {
  std::unique_ptr<platform::FileSearch> search = StartSearch(src, false);
  if (!search->found() || (!platform::FolderExists(dst) && !MakePath(dst))) {
    flags_.bFileError = true;
    Log(FileLine(src, texts_.strLogNotCopied));
    return;
  }
  CopyFolderContents(*search, src, dst, useProgress, false);
}

void CopyEngine::CopyFolderContents(platform::FileSearch& search, std::wstring src,
                                    const std::wstring& dst, bool useProgress, bool isFile) {
  if (isFile) src = FolderOfFile(src);
  Log(FolderLine(texts_.strLogFolder, src));
  const std::wstring srcDir = AddBackslash(src);
  // Names already given to this destination folder, letter case folded: on a
  // case-sensitive share "Report" and "report" would land on one file.
  std::unordered_set<std::wstring> landed;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.is_system()) continue;
    const std::wstring name = entry.name;
    if (entry.is_directory() && (name == L"." || name == L"..")) continue;
    const bool collides = !landed.insert(platform::FoldedName(name)).second;
    if (entry.is_directory()) {
      const std::wstring folder = srcDir + name + L"\\";
      if (flags_.bCancel) {
        LogCancel(folder);
        return;
      }
      if (entry.is_link()) {
        // It may point back up the tree or outside the source.
        Log(FileLine(folder, texts_.strLogLinkSkipped));
      } else if (collides) {
        flags_.bFileError = true;
        Log(FileLine(folder, texts_.strLogNotCopied));
      } else {
        CopySubFolder(folder, dst + name + L"\\", useProgress);
        // A cancel heard in there without a line of its own gets one at the
        // next entry here.
        if (flags_.bCancel && cancelLogged_) return;
      }
    } else {
      // After a cancel the file is not begun, and its line says why.
      const std::uint64_t size = entry.size();
      streamBegun_ = false;
      const bool ok = !flags_.bCancel && !collides &&
                      CopyOneFile(srcDir + name, dst + name, size, useProgress);
      // Some systems copy without calling back; the bar then moves by whole files.
      if (ok && useProgress && !streamBegun_) {
        flags_.curCopied += size;
        ShowProgress(static_cast<double>(flags_.curCopied));
      }
      if (flags_.bCancel) {
        LogCancel(name);
        return;
      }
      if (!ok) flags_.bFileError = true;
      Log(FileLine(name, ok ? texts_.strLogCopied : texts_.strLogNotCopied));
    }
    LetWindowRun();
  } while (search.Next());
  // A listing that broke off (a share gone away) is not a finished folder.
  if (search.failed()) {
    flags_.bFileError = true;
    Log(FileLine(srcDir, texts_.strLogNotCopied));
  }
}

// A new file is copied straight to its name. Over an older one the copy goes
// to a name beside it and takes its place only when whole. Either way a
// failed or cancelled copy leaves the older file as it was and nothing of
// its own behind.
bool CopyEngine::CopyOneFile(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                             bool useProgress) {
  bool ok = CopyFileTo(src, dst, size, useProgress, true);
  if (ok) return true;
  if (!platform::DestinationWasThere()) {
    platform::DeleteFileAt(dst);
    return false;
  }
  const std::wstring part = dst + kPartSuffix;
  ok = CopyFileTo(src, part, size, useProgress, false) && platform::MoveFileOver(part, dst);
  if (!ok) platform::DeleteFileAt(part);
  return ok;
}

bool CopyEngine::CopyFileTo(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                            bool useProgress, bool keepExisting) {
  static const platform::CopyProgressRoutine kNoProgress;
  const platform::CopyProgressRoutine& progress = useProgress ? progress_ : kNoProgress;
  if (size <= kChunkBytes)
    return platform::CopyFileWithProgress(src, dst, progress, &flags_.bCancel, keepExisting);
  if (chunk_.size() != kChunkBytes) chunk_.resize(kChunkBytes);
  return platform::CopyFileInChunks(src, dst, chunk_, progress, &flags_.bCancel, keepExisting);
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

void CopyEngine::LogCancel(const std::wstring& name) {
  cancelLogged_ = true;
  Log(FileLine(name, texts_.strLogUserCancelled));
}

void CopyEngine::Log(const std::wstring& line) {
  if (log_) log_->Write(line);
}

}  // namespace backup
