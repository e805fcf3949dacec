// The destination folder's listing and the rule of an unchanged file.
#include "backup/destination_listing.h"

namespace backup {

bool HasTwoSecondTimes(std::wstring_view file_system) {
  for (const wchar_t* name : {L"FAT", L"FAT32", L"exFAT"})
    if (platform::SameTextIgnoringCase(file_system, name)) return true;
  return false;
}

bool SameWriteTime(std::uint64_t a, std::uint64_t b, bool two_second_times) {
  constexpr std::uint64_t kTwoSeconds = 20000000;
  if (!two_second_times) return a == b;
  return (a > b ? a - b : b - a) < kTwoSeconds;
}

void DestinationListing::Add(const platform::FoundEntry& entry) {
  if (entry.is_dot_entry()) return;
  const auto [place, added] = held_.emplace(
      platform::FoldedName(entry.name), Held{entry.size(), entry.last_write, !entry.is_directory()});
  if (!added) place->second.usable = false;
}

bool DestinationListing::Holds(const std::wstring& name, std::uint64_t size,
                               std::uint64_t last_write) const {
  const auto place = held_.find(platform::FoldedName(name));
  return place != held_.end() && place->second.usable && place->second.size == size &&
         SameWriteTime(place->second.last_write, last_write, two_second_times_);
}

bool DestinationListing::HoldsFile(const std::wstring& name) const {
  const auto place = held_.find(platform::FoldedName(name));
  return place != held_.end() && place->second.usable;
}

}  // namespace backup
