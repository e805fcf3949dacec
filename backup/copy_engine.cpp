// The copy engine's walk over a source tree and the folder creation it
// relies on.
#include "backup/copy_engine.h"

#include <optional>

#include "backup/path_parts.h"

namespace backup {
namespace {

// The entries of a folder, or the one file.
std::wstring SearchPattern(const std::wstring& path, bool is_file) {
  return is_file ? path : AddBackslash(path) + L"*.*";
}

// A pattern that finds every temporary name (and maybe a few others).
const wchar_t kTemporaryPattern[] = L"~tavrik*.tmp";

std::vector<platform::FoundEntry> EntriesOf(const std::wstring& folder) {
  std::vector<platform::FoundEntry> entries;
  platform::FileSearch search(folder + L"*");
  if (search.found()) do entries.push_back(search.entry()); while (search.Next());
  return entries;
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

CopyEngine::CopyEngine(RunFlags& flags, const CopyTexts& texts, const CopySeams& seams)
    : flags_(flags), texts_(texts), seams_(seams) {}

void CopyEngine::SetRow(ProgressSink progress, BackupLog* log) {
  row_progress_ = std::move(progress);
  log_ = log;
  in_flight_ = shown_ = 0;
}

bool CopyEngine::CopySource(std::wstring src, std::wstring dst, bool is_file) {
  if (!is_file) src = AddBackslash(src);
  dst = AddBackslash(dst);
  row_destination_ = dst;
  cancel_logged_ = false;
  stopped_ = false;
  // An empty path (a store whose file is unknown) would search the root of
  // the current drive.
  std::optional<platform::FileSearch> search;
  if (src != L"" && src != L"\\") search.emplace(SearchPattern(src, is_file));
  if (!search || !search->found()) return false;
  // The row's own folder in the target: without it nothing of any row can
  // go there either, so the run stops.
  const bool backed_up_before = platform::FolderExists(dst);
  if (!backed_up_before && !MakePath(dst)) {
    flags_.target_error = true;
    return true;
  }
  if (!backed_up_before) made_.push_back(dst);
  reached_.insert(dst);
  const std::wstring file_system =
      seams_.file_system.empty() ? platform::FileSystemName(dst) : seams_.file_system;
  largest_file_ = LargestFileOn(file_system);
  target_times_ = LearnTargetTimes(dst, file_system);
  // A repeated backup of only what changed finds its folders there already:
  // listing the tree twice would cost it more than making them ahead saves.
  if (!is_file && !(copy_only_changed && backed_up_before)) MakeFoldersAhead(src, dst);
  StartWorkers();
  CopyFolderContents(*search, src, dst, is_file);
  search.reset();
  FinishWorkers();
  RemoveFoldersLeftEmpty();
  return true;
}

// The destination folders of a tree are made before any file is copied:
// files written into a folder made just before them go markedly slower on
// some file systems (twice as slow on ext4, natively and under Wine).
void CopyEngine::MakeFoldersAhead(const std::wstring& src, const std::wstring& dst) {
  platform::FileSearch search(SearchPattern(src, false));
  if (!search.found()) return;
  // A faulty share may name a folder twice in one listing.
  std::unordered_set<std::wstring> seen;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (!entry.is_directory() || entry.is_system() || entry.is_link() || entry.is_dot_entry() ||
        !seen.insert(entry.name).second)
      continue;
    if (flags_.cancel_requested) return;
    const std::wstring folder = dst + entry.name + L"\\";
    if (platform::CreateFolder(folder)) made_.push_back(folder);
    MakeFoldersAhead(src + entry.name + L"\\", folder);
  } while (search.Next());
}

// A sub-folder that cannot be read (no access, gone meanwhile) or made in
// the target (a file of its name in the way) fails that sub-tree only: the
// log names it, the row turns red, the walk goes on.
void CopyEngine::CopySubFolder(const std::wstring& src, const std::wstring& dst) {
  platform::FileSearch search(SearchPattern(src, false));
  const bool there = search.found() && platform::FolderExists(dst);
  if (!search.found() || (!there && !MakePath(dst))) {
    flags_.MarkNotCopied();
    Log(FileLine(src, texts_.log_not_copied));
    return;
  }
  if (!there) made_.push_back(dst);
  reached_.insert(dst);
  CopyFolderContents(search, src, dst, false);
}

// Names of the temporary form in the source folder are its own files and
// are never used for a copy there, and the numbering goes on above them;
// they are looked for in the folder's entries when the walk has them all.
// Anything else of that form in the destination folder is what an
// interrupted run left behind. With a listing, the destination folder's
// entries (all of them) go into it.
std::shared_ptr<const std::unordered_set<std::wstring>> CopyEngine::PrepareFolder(
    const std::wstring& src_folder, const std::wstring& dst_folder,
    const std::vector<platform::FoundEntry>& src_entries,
    const std::vector<platform::FoundEntry>& dst_entries, DestinationListing* listing) {
  auto reserved = std::make_shared<std::unordered_set<std::wstring>>();
  auto reserve = [&](const std::wstring& name) {
    if (!IsTemporaryName(name)) return;
    reserved->insert(platform::FoldedName(name));
    NumberAbove(TemporaryNumber(name).value_or(0));
  };
  for (const platform::FoundEntry& entry : src_entries) reserve(entry.name);
  if (src_entries.empty()) {
    platform::FileSearch search(src_folder + kTemporaryPattern);
    if (search.found()) do reserve(search.entry().name); while (search.Next());
  }
  auto prepare = [&](const platform::FoundEntry& entry) {
    if (!entry.is_directory() && IsTemporaryName(entry.name) &&
        !reserved->count(platform::FoldedName(entry.name))) {
      if (!platform::DeleteFileAt(dst_folder + entry.name))
        NumberAbove(TemporaryNumber(entry.name).value_or(0));
    } else if (listing) {
      listing->Add(entry);
    }
  };
  for (const platform::FoundEntry& entry : dst_entries) prepare(entry);
  if (!listing) {
    platform::FileSearch search(dst_folder + kTemporaryPattern);
    if (search.found()) do prepare(search.entry()); while (search.Next());
  }
  return reserved;
}

void CopyEngine::NumberAbove(std::uint64_t number) {
  if (number == UINT64_MAX) return;
  std::uint64_t next = next_temporary_;
  while (next <= number && !next_temporary_.compare_exchange_weak(next, number + 1)) {
  }
}

void CopyEngine::CopyFolderContents(platform::FileSearch& search, std::wstring src,
                                    const std::wstring& dst, bool is_file) {
  if (is_file) src = FolderOfFile(src);
  Log(FolderLine(texts_.log_folder, src));
  const std::wstring src_folder = AddBackslash(src);
  // Copying only what changed lists the destination folder whole; the
  // source folder's entries are then read first too, which spares a search
  // of its own temporary names. (Listing the two at once, on two threads,
  // measured slower under Wine.)
  // Keeping the copies that are replaced needs the listing too.
  const bool keep_versions = !versions_folder.empty();
  std::optional<DestinationListing> listing;
  std::vector<platform::FoundEntry> entries, held;
  if (copy_only_changed || keep_versions) {
    listing.emplace(target_times_);
    if (!is_file) do entries.push_back(search.entry()); while (search.Next());
    held = EntriesOf(dst);
  }
  const auto reserved = PrepareFolder(src_folder, dst, entries, held, listing ? &*listing : nullptr);
  // Names already given to this destination folder, letter case folded: on a
  // case-sensitive share "Report" and "report" would land on one file. A
  // name listed twice (a faulty share) is the same entry and goes once.
  std::unordered_set<std::wstring> landed, listed;
  std::size_t read = 0;
  for (bool more = true; more;
       more = entries.empty() ? search.Next() : ++read < entries.size()) {
    const platform::FoundEntry& entry = entries.empty() ? search.entry() : entries[read];
    if (entry.is_system() || entry.is_dot_entry()) continue;
    const std::wstring name = entry.name;
    if (!listed.insert(name).second) continue;
    const bool collides = !landed.insert(platform::FoldedName(name)).second;
    if (entry.is_directory()) {
      const std::wstring folder = src_folder + name + L"\\";
      if (flags_.cancel_requested) return LogCancel(folder, dst);
      if (entry.is_link()) {
        // It may point back up the tree or outside the source.
        Log(FileLine(folder, texts_.log_link_skipped));
      } else if (collides) {
        flags_.MarkNotCopied();
        Log(FileLine(folder, texts_.log_not_copied));
      } else {
        CopySubFolder(folder, dst + name + L"\\");
        if (flags_.cancel_requested && cancel_logged_) return;
      }
    } else {
      // After a cancel the file is not begun, and its line says why.
      if (flags_.cancel_requested) return LogCancel(name, dst);
      if (collides) {
        flags_.MarkNotCopied();
        Log(FileLine(name, texts_.log_not_copied));
      } else if (copy_only_changed && listing->Holds(name, entry.size(), entry.last_write)) {
        // Nothing of the target is touched: no temporary file, no rename.
        Log(FileLine(name, texts_.log_unchanged));
        FileDone(entry.size(), false);
      } else {
        Job job{src_folder + name, dst, name, entry.size(), reserved, nullptr};
        // The same file (size and time) is rewritten, not kept twice.
        job.keep_version = keep_versions && listing->HoldsFile(name) &&
                           !listing->Holds(name, entry.size(), entry.last_write);
        std::unique_lock<std::mutex> lock(mutex_);
        job.entry = Append(lock, LogEntry::State::kPending, name);
        jobs_.push_back(std::move(job));
        work_ready_.notify_one();
      }
    }
    if (seams_.after_entry) seams_.after_entry(flags_);
  }
  // A listing that broke off, or a folder that went away while it was
  // copied (its listing may then just end), is not a finished folder.
  if (search.failed() || !platform::FolderExists(src_folder)) {
    flags_.MarkNotCopied();
    Log(FileLine(src_folder, texts_.log_not_copied));
  }
}

}  // namespace backup
