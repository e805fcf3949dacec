// What the copy engine learns of its target before a source's copy, and the
// folders it made that a cancel left empty.
#include "backup/copy_engine.h"

#include <algorithm>

#include "backup/path_parts.h"

namespace backup {

// The name of the file system tells of FAT's steps; a file written here and
// read back shows the rest: a share that keeps whole seconds says "NTFS".
// The probe takes a temporary name, so a run killed meanwhile leaves only
// what the next one clears.
TargetTimes CopyEngine::LearnTargetTimes(const std::wstring& dst, const std::wstring& file_system) {
  TargetTimes times = TimesOn(file_system);
  for (int tries = 0; tries < 3; ++tries) {
    const std::wstring probe = dst + TemporaryName(next_temporary_++);
    if (!platform::CreateDatedFile(probe, kTimeThatShowsSteps)) continue;
    platform::FileSearch search(probe);
    if (search.found())
      times.step = std::max(times.step, StepShown(kTimeThatShowsSteps, search.entry().last_write));
    search.Close();
    platform::DeleteFileAt(probe);
    break;
  }
  return times;
}

// What was made for a part of the tree the walk did not reach (a cancel, a
// folder that could not be read), or for files a cancel stopped, goes again
// if it is empty, and then so does the folder above it if this source made
// it. Folders come after the folder above them in made_.
void CopyEngine::RemoveFoldersLeftEmpty() {
  for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) {
    if ((!reached_.count(*folder) || cancelled_in_.count(*folder)) &&
        platform::RemoveEmptyFolder(*folder))
      cancelled_in_.insert(FolderOfFile(folder->substr(0, folder->size() - 1)));
  }
  made_.clear();
  reached_.clear();
  cancelled_in_.clear();
}

}  // namespace backup
