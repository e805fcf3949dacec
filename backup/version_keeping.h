// The target's versions folder on disk: a replaced copy moved in by a
// rename, and the versions that go after a good run or to make a run's
// room.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "backup/version_names.h"
#include "platform/file_copy.h"

namespace backup {

// Makes an attempt until the system stops refusing it for a moment, as the
// copy engine does with every file call.
using Retrying =
    std::function<platform::FileResult(const std::function<platform::FileResult()>& attempt)>;

// Renames file into folder (made when missing) under its version name for
// time, the first of " (2)", " (3)"... when that is taken. The version's
// path, or "" when it could not be kept (the file is then where it was).
std::wstring KeepVersion(const std::wstring& file, const std::wstring& folder,
                         const std::wstring& name, UtcSeconds time, const Retrying& retrying);

// Deletes the versions under root stamped more than keep_days before now,
// the newest of each file aside, and then the folders left empty below
// root. Names the program did not make stay. How many versions went.
int RemoveExpiredVersions(const std::wstring& root, UtcSeconds now, int keep_days);

// Deletes versions under root, oldest first and the newest of each file
// aside, until the volume has needed_bytes free. The paths deleted.
std::vector<std::wstring> RemoveVersionsForRoom(const std::wstring& root,
                                                std::uint64_t needed_bytes);

}  // namespace backup
