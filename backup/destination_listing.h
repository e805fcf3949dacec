// What a destination folder already holds, listed once when the walk enters
// it, and the rule by which a source file is the file held there: the same
// size and the same last-write time. The rule serves the choice to copy
// only new and changed files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/files.h"

namespace backup {

// Whether a file system of that name keeps times in 2-second steps (FAT,
// FAT32, exFAT), so that a copy's time may differ from its source's by up
// to that.
bool HasTwoSecondTimes(std::wstring_view file_system);

// Whether two last-write times (100-nanosecond steps) are the same time on
// the destination's file system.
bool SameWriteTime(std::uint64_t a, std::uint64_t b, bool two_second_times);

class DestinationListing {
 public:
  explicit DestinationListing(bool two_second_times) : two_second_times_(two_second_times) {}

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
  bool two_second_times_;
};

}  // namespace backup
