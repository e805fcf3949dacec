// What a destination folder already holds, listed once when the walk enters
// it, and the rule by which a source file is the file held there: the same
// size and the same last-write time, as the target's file system keeps
// times. The rule serves the choice to copy only new and changed files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/files.h"

namespace backup {

// How a target keeps last-write times.
struct TargetTimes {
  // The step, in 100-nanosecond units, that a time kept there may be off
  // its source's by: 1 where times are kept as given.
  std::uint64_t step = 1;
  // Kept in local time (FAT, FAT32): a change of daylight saving time moves
  // every time read back by one hour.
  bool local_time = false;
};

// Whether a file system of that name keeps times in 2-second steps (FAT,
// FAT32, exFAT), so that a copy's time may differ from its source's by up
// to that.
bool HasTwoSecondTimes(std::wstring_view file_system);
// What the name of the target's file system tells of its times.
TargetTimes TimesOn(std::wstring_view file_system);
// The step of a target that, given the time set for a file, kept the time
// kept: a share that stores whole seconds (and says "NTFS") shows it so.
std::uint64_t StepShown(std::uint64_t set, std::uint64_t kept);
// A time to give such a file: its fraction of a second shows any step from
// a microsecond to two seconds, truncated or rounded.
constexpr std::uint64_t kTimeThatShowsSteps = 132223104005555555;  // 2020-01-01 00:00:00.5555555

// Whether two last-write times (100-nanosecond steps) are the same time on
// the destination's file system.
bool SameWriteTime(std::uint64_t a, std::uint64_t b, const TargetTimes& times);

class DestinationListing {
 public:
  explicit DestinationListing(const TargetTimes& times) : times_(times) {}

  // One entry of the folder's listing.
  void Add(const platform::FoundEntry& entry);
  // Whether the folder holds, under name (letter case aside), a file (not a
  // folder) of that size and last-write time.
  bool Holds(const std::wstring& name, std::uint64_t size, std::uint64_t last_write) const;
  // Whether the folder holds a file (not a folder) under name, letter case
  // aside, whatever its size and time.
  bool HoldsFile(const std::wstring& name) const;

 private:
  struct Held {
    std::uint64_t size, last_write;
    // A folder, or a name the folder holds twice in different letter case
    // (a case-sensitive share): nothing to leave alone.
    bool usable;
  };
  std::unordered_map<std::wstring, Held> held_;  // by folded name
  TargetTimes times_;
};

}  // namespace backup
