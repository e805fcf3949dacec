// Which kept versions go: after a good run those older than the days they
// are kept, before a run short of room the oldest first; never the newest
// version of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "backup/version_names.h"

namespace backup {

// How many days versions are kept when the settings say nothing usable.
constexpr int kDefaultKeepDays = 90;

// The stored "keepdays": a whole number from 1 to 3650, blanks around it
// allowed; anything else reads as the default.
int KeepDays(std::wstring_view stored);

struct KeptVersion {
  // One text for all the versions of one file: its folder and name, letter
  // case folded.
  std::wstring file;
  UtcSeconds time;
  unsigned copy;
  std::uint64_t size;
};

// The versions (indexes into versions) stamped more than keep_days before
// now, oldest first, the newest of each file aside.
std::vector<std::size_t> ExpiredVersions(const std::vector<KeptVersion>& versions,
                                         UtcSeconds now, int keep_days);

// The versions to delete, oldest first, so that free_bytes comes to
// needed_bytes; the newest of each file aside. None when the room is there;
// every other version when even that is not enough.
std::vector<std::size_t> VersionsForRoom(const std::vector<KeptVersion>& versions,
                                         std::uint64_t needed_bytes, std::uint64_t free_bytes);

}  // namespace backup
