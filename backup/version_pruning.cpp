// The choice of the versions to delete.
#include "backup/version_pruning.h"

#include <algorithm>
#include <unordered_map>

namespace backup {
namespace {

bool Older(const KeptVersion& a, const KeptVersion& b) {
  return a.time != b.time ? a.time < b.time : a.copy < b.copy;
}

// Every version but the newest of its file, oldest first.
std::vector<std::size_t> Deletable(const std::vector<KeptVersion>& versions) {
  std::unordered_map<std::wstring, std::size_t> newest;
  for (std::size_t i = 0; i < versions.size(); ++i) {
    const auto [place, added] = newest.emplace(versions[i].file, i);
    if (!added && Older(versions[place->second], versions[i])) place->second = i;
  }
  std::vector<std::size_t> deletable;
  for (std::size_t i = 0; i < versions.size(); ++i)
    if (newest.at(versions[i].file) != i) deletable.push_back(i);
  std::stable_sort(deletable.begin(), deletable.end(),
                   [&](std::size_t a, std::size_t b) { return Older(versions[a], versions[b]); });
  return deletable;
}

}  // namespace

int KeepDays(std::wstring_view stored) {
  const std::size_t first = stored.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return kDefaultKeepDays;
  stored = stored.substr(first, stored.find_last_not_of(L' ') - first + 1);
  if (stored.size() > 4) return kDefaultKeepDays;
  int days = 0;
  for (wchar_t c : stored) {
    if (c < L'0' || c > L'9') return kDefaultKeepDays;
    days = days * 10 + (c - L'0');
  }
  return days >= 1 && days <= 3650 ? days : kDefaultKeepDays;
}

std::vector<std::size_t> ExpiredVersions(const std::vector<KeptVersion>& versions,
                                         UtcSeconds now, int keep_days) {
  const UtcSeconds limit = now - static_cast<UtcSeconds>(keep_days) * 86400;
  std::vector<std::size_t> expired = Deletable(versions);
  expired.erase(std::remove_if(expired.begin(), expired.end(),
                               [&](std::size_t i) { return versions[i].time >= limit; }),
                expired.end());
  return expired;
}

std::vector<std::size_t> VersionsForRoom(const std::vector<KeptVersion>& versions,
                                         std::uint64_t needed_bytes, std::uint64_t free_bytes) {
  std::vector<std::size_t> chosen;
  for (std::size_t i : Deletable(versions)) {
    if (free_bytes >= needed_bytes) break;
    chosen.push_back(i);
    free_bytes += versions[i].size;
  }
  return chosen;
}

}  // namespace backup
