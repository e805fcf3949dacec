// The time limits of the update's downloads, and the rule of a download's
// least pace. No window needed.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

namespace update {

// A version check ends within this time from its first connection attempt,
// whatever the server does (one that sends a byte every few seconds
// included); longer by each route's connection limit when the proxy
// resolver gives more than one route (LimitForRoutes).
constexpr std::chrono::seconds kVersionCheckLimit{60};
// The installer's download (and its signature's) fails when less than
// kSlowestDownloadBytes arrive in any kSlowestDownloadWindow.
constexpr std::int64_t kSlowestDownloadBytes = 64 * 1024;
constexpr std::chrono::seconds kSlowestDownloadWindow{30};

// The whole check's limit, counted from its first connection attempt, for
// a list of routes each of which may take its own connection limit before
// the next is tried: limit, plus connect for each route before the last.
std::chrono::milliseconds LimitForRoutes(std::chrono::milliseconds limit, std::size_t routes,
                                         std::chrono::milliseconds connect);

// Whether a download keeps its least pace: at least `bytes` in every
// `window` of time since its reply's headers came.
class PaceRule {
 public:
  PaceRule(std::int64_t bytes, std::chrono::milliseconds window) : bytes_(bytes), window_(window) {}
  // Notes that received bytes in all had come at now (from the start);
  // false once some whole window has passed with fewer than `bytes`.
  bool Keeps(std::chrono::milliseconds now, std::int64_t received);

 private:
  std::int64_t bytes_;
  std::chrono::milliseconds window_;
  // (time, bytes received by then), oldest first, from (0, 0).
  std::deque<std::pair<std::chrono::milliseconds, std::int64_t>> notes_{{std::chrono::milliseconds{0}, 0}};
};

}  // namespace update
