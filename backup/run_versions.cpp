// The run's steps for the versions of replaced copies: room made before the
// rows, and the versions past their days removed after a good run.
#include "backup/backup_run.h"
#include "backup/version_keeping.h"
#include "backup/version_pruning.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"

namespace backup {

// When the target's volume lacks the room for what the run will write, the
// oldest versions make it. A full copy writes the rows' whole size; copying
// only what changed, about what the target's copies of the rows lack.
void BackupRun::MakeRoomForVersions(const std::wstring& place, bool only_changed,
                                    const std::vector<RowPlan>& rows, BackupLog* log) {
  const std::wstring root = place + kVersionsFolder + L"\\";
  if (!platform::FolderExists(root)) return;
  std::uint64_t needed = 0;
  for (const RowPlan& row : rows) needed += row.bytes;
  const std::optional<std::uint64_t> free = platform::FreeBytes(place);
  if (!free || *free >= needed) return;
  if (only_changed) {
    needed = 0;
    for (const RowPlan& row : rows) {
      const auto held = static_cast<std::uint64_t>(sources::FolderSize(place + row.name + L"\\"));
      needed += row.bytes > held ? row.bytes - held : 0;
    }
  }
  for (const std::wstring& path : RemoveVersionsForRoom(root, needed))
    if (log) log->Write(texts_.copy.log_version_removed_for_room + path);
}

void BackupRun::RemoveExpiredVersionsAfterRun(const std::wstring& place, UtcSeconds now,
                                              BackupLog* log) {
  const std::wstring root = place + kVersionsFolder + L"\\";
  if (!platform::FolderExists(root)) return;
  const int keep_days = KeepDays(settings::ReadIni(settings_file_, L"main", L"keepdays", L""));
  const int removed = RemoveExpiredVersions(root, now, keep_days);
  if (log) log->Write(texts_.copy.log_versions_removed + std::to_wstring(removed));
}

}  // namespace backup
