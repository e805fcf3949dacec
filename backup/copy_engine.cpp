// The copy engine's walk over a source tree, its file copy with progress,
// and the folder creation it relies on.
#include "backup/copy_engine.h"

#include <optional>
#include <unordered_set>

#include "backup/path_parts.h"
#include "platform/shell.h"

namespace backup {
namespace {

// The entries of a folder, or the one file.
std::wstring SearchPattern(const std::wstring& path, bool is_file) {
  return is_file ? path : AddBackslash(path) + L"*.*";
}

}  // namespace

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

CopyEngine::CopyEngine(RunFlags& flags, const CopyTexts& texts)
    : flags_(flags),
      texts_(texts),
      copy_progress_([this](platform::CopyProgressReason reason, std::uint64_t total_file_size,
                            std::uint64_t total_bytes_transferred) {
        OnCopyProgress(reason, total_file_size, total_bytes_transferred);
      }) {}

void CopyEngine::SetRow(ProgressSink progress, BackupLog* log) {
  row_progress_ = std::move(progress);
  log_ = log;
}

const wchar_t CopyEngine::kPartSuffix[] = L".tavrik-part";

void CopyEngine::CopySource(std::wstring src, std::wstring dst, bool is_file) {
  if (!is_file) src = AddBackslash(src);
  dst = AddBackslash(dst);
  cancel_logged_ = false;
  // An empty path (a store whose file is unknown) would search the root of
  // the current drive.
  std::optional<platform::FileSearch> search;
  if (src != L"" && src != L"\\") search.emplace(SearchPattern(src, is_file));
  if (!search || !search->found()) {
    platform::CurrentDialogs().MessageBoxOk(texts_.missing_source + src + L" " + texts_.not_found);
    return;
  }
  // The row's own folder in the target: without it nothing of any row can
  // go there either, so the run stops.
  if (!platform::FolderExists(dst) && !MakePath(dst)) {
    flags_.target_error = true;
    return;
  }
  if (!is_file) MakeFoldersAhead(src, dst);
  CopyFolderContents(*search, src, dst, is_file);
  // What was made ahead for a part of the tree the walk did not reach (a
  // cancel, a folder that could not be read) goes again, if still empty.
  for (auto folder = made_ahead_.rbegin(); folder != made_ahead_.rend(); ++folder)
    if (!reached_.count(*folder)) platform::RemoveEmptyFolder(*folder);
  made_ahead_.clear();
  reached_.clear();
}

// The destination folders of a tree are made before any file is copied:
// files written into a folder made just before them go markedly slower on
// some file systems (twice as slow on ext4, natively and under Wine).
void CopyEngine::MakeFoldersAhead(const std::wstring& src, const std::wstring& dst) {
  platform::FileSearch search(SearchPattern(src, false));
  if (!search.found()) return;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (!entry.is_directory() || entry.is_system() || entry.is_link() || entry.name == L"." ||
        entry.name == L"..")
      continue;
    if (flags_.cancel_requested) return;
    const std::wstring folder = dst + entry.name + L"\\";
    if (platform::CreateFolder(folder)) made_ahead_.push_back(folder);
    MakeFoldersAhead(src + entry.name + L"\\", folder);
    LetWindowRun();
  } while (search.Next());
}

// A sub-folder that cannot be read (no access, gone meanwhile) or made in
// the target (a file of its name in the way) fails that sub-tree only: the
// log names it, the row turns red, the walk goes on.
void CopyEngine::CopySubFolder(const std::wstring& src, const std::wstring& dst) {
  platform::FileSearch search(SearchPattern(src, false));
  if (!search.found() || (!platform::FolderExists(dst) && !MakePath(dst))) {
    flags_.file_error = true;
    Log(FileLine(src, texts_.log_not_copied));
    return;
  }
  reached_.insert(dst);
  CopyFolderContents(search, src, dst, false);
}

void CopyEngine::CopyFolderContents(platform::FileSearch& search, std::wstring src,
                                    const std::wstring& dst, bool is_file) {
  if (is_file) src = FolderOfFile(src);
  Log(FolderLine(texts_.log_folder, src));
  const std::wstring src_folder = AddBackslash(src);
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
      const std::wstring folder = src_folder + name + L"\\";
      if (flags_.cancel_requested) {
        LogCancel(folder);
        return;
      }
      if (entry.is_link()) {
        // It may point back up the tree or outside the source.
        Log(FileLine(folder, texts_.log_link_skipped));
      } else if (collides) {
        flags_.file_error = true;
        Log(FileLine(folder, texts_.log_not_copied));
      } else {
        CopySubFolder(folder, dst + name + L"\\");
        // A cancel heard in there without a line of its own gets one at the
        // next entry here.
        if (flags_.cancel_requested && cancel_logged_) return;
      }
    } else {
      // After a cancel the file is not begun, and its line says why.
      const std::uint64_t size = entry.size();
      stream_begun_ = false;
      const bool ok = !flags_.cancel_requested && !collides &&
                      CopyOneFile(src_folder + name, dst + name, size);
      // Some systems copy without calling back; the bar then moves by whole files.
      if (ok && !stream_begun_) {
        flags_.bytes_copied += size;
        if (row_progress_) row_progress_(static_cast<double>(flags_.bytes_copied));
      }
      if (flags_.cancel_requested) {
        LogCancel(name);
        return;
      }
      if (!ok) flags_.file_error = true;
      Log(FileLine(name, ok ? texts_.log_copied : texts_.log_not_copied));
    }
    LetWindowRun();
  } while (search.Next());
  // A listing that broke off (a share gone away) is not a finished folder.
  if (search.failed()) {
    flags_.file_error = true;
    Log(FileLine(src_folder, texts_.log_not_copied));
  }
}

// A new file is copied straight to its name. Over an older one the copy goes
// to a name beside it and takes its place only when whole. Either way a
// failed or cancelled copy leaves the older file as it was and nothing of
// its own behind.
bool CopyEngine::CopyOneFile(const std::wstring& src, const std::wstring& dst,
                             std::uint64_t size) {
  // Whether an older copy is there is asked first: a copy that fails on its
  // source (a file held open) says nothing about the destination, and what
  // it did not make must never be removed.
  if (!platform::FileExists(dst)) {
    if (CopyFileTo(src, dst, size, true)) return true;
    // Made meanwhile by someone else: not ours to remove.
    if (!platform::DestinationWasThere()) platform::DeleteFileAt(dst);
    return false;
  }
  const std::wstring part = dst + kPartSuffix;
  const bool ok = CopyFileTo(src, part, size, false) && platform::MoveFileOver(part, dst);
  if (!ok) platform::DeleteFileAt(part);
  return ok;
}

bool CopyEngine::CopyFileTo(const std::wstring& src, const std::wstring& dst, std::uint64_t size,
                            bool keep_existing) {
  if (size <= kChunkBytes)
    return platform::CopyFileWithProgress(src, dst, copy_progress_, &flags_.cancel_requested,
                                          keep_existing);
  if (chunk_.size() != kChunkBytes) chunk_.resize(kChunkBytes);
  return platform::CopyFileInChunks(src, dst, chunk_, copy_progress_, &flags_.cancel_requested,
                                    keep_existing);
}

// Counts in 64 bits and reports a double, so a row of many gigabytes moves
// as well as a small one; nothing here can fail the copy.
void CopyEngine::OnCopyProgress(platform::CopyProgressReason reason,
                                std::uint64_t total_file_size,
                                std::uint64_t total_bytes_transferred) {
  switch (reason) {
    case platform::CopyProgressReason::kStreamSwitch:
      stream_begun_ = true;
      flags_.bytes_copied += total_file_size;
      break;
    case platform::CopyProgressReason::kChunkFinished:
      if (row_progress_)
        row_progress_(static_cast<double>(flags_.bytes_copied) -
                      static_cast<double>(total_file_size) +
                      static_cast<double>(total_bytes_transferred));
      LetWindowRun();
      break;
    case platform::CopyProgressReason::kOther:
      break;
  }
}

void CopyEngine::LetWindowRun() {
  const auto now = std::chrono::steady_clock::now();
  if (now - last_yield_ < yield_every) return;
  yield();
  last_yield_ = std::chrono::steady_clock::now();
}

void CopyEngine::LogCancel(const std::wstring& name) {
  cancel_logged_ = true;
  Log(FileLine(name, texts_.log_user_cancelled));
}

void CopyEngine::Log(const std::wstring& line) {
  if (log_) log_->Write(line);
}

}  // namespace backup
