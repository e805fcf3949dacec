// The destination folder's listing and the rule of an unchanged file.
#include "backup/destination_listing.h"

namespace backup {
namespace {

constexpr std::uint64_t kTwoSeconds = 20000000;
constexpr std::uint64_t kHour = 36000000000;

std::uint64_t Distance(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; }

}  // namespace

bool HasTwoSecondTimes(std::wstring_view file_system) {
  for (const wchar_t* name : {L"FAT", L"FAT32", L"exFAT"})
    if (platform::SameTextIgnoringCase(file_system, name)) return true;
  return false;
}

TargetTimes TimesOn(std::wstring_view file_system) {
  if (!HasTwoSecondTimes(file_system)) return {};
  // exFAT keeps each time's offset from UTC; FAT and FAT32 do not.
  return {kTwoSeconds, !platform::SameTextIgnoringCase(file_system, L"exFAT")};
}

std::uint64_t StepShown(std::uint64_t set, std::uint64_t kept) {
  const std::uint64_t off = Distance(set, kept);
  if (off == 0) return 1;
  // A microsecond, a millisecond, 10 ms, a second, two seconds. A target
  // further off than that does not keep what it is given: nothing matches
  // it by a wider step.
  for (const std::uint64_t step : {10ull, 10000ull, 100000ull, 10000000ull})
    if (off < step) return step;
  return kTwoSeconds;
}

bool SameWriteTime(std::uint64_t a, std::uint64_t b, const TargetTimes& times) {
  const std::uint64_t off = Distance(a, b);
  if (off < times.step) return true;
  return times.local_time && Distance(off, kHour) < times.step;
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
         SameWriteTime(place->second.last_write, last_write, times_);
}

bool DestinationListing::HoldsFile(const std::wstring& name) const {
  const auto place = held_.find(platform::FoldedName(name));
  return place != held_.end() && place->second.usable;
}

}  // namespace backup
