// The walk over the versions folder, and the renames and deletes in it.
#include "backup/version_keeping.h"

#include "backup/copy_engine.h"
#include "backup/version_pruning.h"
#include "platform/files.h"

namespace backup {
namespace {

struct Found {
  std::vector<std::wstring> paths;
  std::vector<KeptVersion> versions;
};

void ListVersions(const std::wstring& folder, Found& found) {
  platform::FileSearch search(folder + L"*");
  if (!search.found()) return;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.is_dot_entry() || entry.is_link()) continue;
    if (entry.is_directory()) {
      ListVersions(folder + entry.name + L"\\", found);
    } else if (const std::optional<VersionOf> version = ReadVersionName(entry.name)) {
      found.paths.push_back(folder + entry.name);
      found.versions.push_back(
          {platform::FoldedName(folder + version->name), version->time, version->copy, entry.size()});
    }
  } while (search.Next());
}

// The folders below folder that hold nothing (once their own empty folders
// are gone) are removed.
void RemoveEmptyFoldersBelow(const std::wstring& folder) {
  std::vector<std::wstring> below;
  {
    platform::FileSearch search(folder + L"*");
    if (!search.found()) return;
    do {
      const platform::FoundEntry& entry = search.entry();
      if (entry.is_directory() && !entry.is_dot_entry() && !entry.is_link())
        below.push_back(folder + entry.name + L"\\");
    } while (search.Next());
  }
  for (const std::wstring& sub : below) {
    RemoveEmptyFoldersBelow(sub);
    platform::RemoveEmptyFolder(sub);
  }
}

}  // namespace

std::wstring KeepVersion(const std::wstring& file, const std::wstring& folder,
                         const std::wstring& name, UtcSeconds time, const Retrying& retrying) {
  if (!platform::FolderExists(folder) && !MakePath(folder)) return L"";
  for (unsigned copy = 1; copy <= 1000; ++copy) {
    const std::wstring version = folder + VersionName(name, time, copy);
    const platform::FileResult moved =
        retrying([&] { return platform::MoveFileAside(file, version); });
    if (moved == platform::FileResult::kDone) return version;
    if (moved != platform::FileResult::kExists) break;
  }
  return L"";
}

int RemoveExpiredVersions(const std::wstring& root, UtcSeconds now, int keep_days) {
  Found found;
  ListVersions(root, found);
  int removed = 0;
  for (std::size_t i : ExpiredVersions(found.versions, now, keep_days))
    removed += platform::DeleteFileAt(found.paths[i]) ? 1 : 0;
  RemoveEmptyFoldersBelow(root);
  return removed;
}

std::vector<std::wstring> RemoveVersionsForRoom(const std::wstring& root,
                                                std::uint64_t needed_bytes) {
  const std::optional<std::uint64_t> free = platform::FreeBytes(root);
  if (!free || *free >= needed_bytes) return {};
  Found found;
  ListVersions(root, found);
  std::vector<std::wstring> removed;
  for (std::size_t i : VersionsForRoom(found.versions, needed_bytes, *free))
    if (platform::DeleteFileAt(found.paths[i])) removed.push_back(found.paths[i]);
  RemoveEmptyFoldersBelow(root);
  return removed;
}

}  // namespace backup
