// The least pace of a download.
#include "update/download_pace.h"

namespace update {

std::chrono::milliseconds LimitForRoutes(std::chrono::milliseconds limit, std::size_t routes,
                                         std::chrono::milliseconds connect) {
  if (routes < 2) return limit;
  return limit + connect * static_cast<std::chrono::milliseconds::rep>(routes - 1);
}

bool PaceRule::Keeps(std::chrono::milliseconds now, std::int64_t received) {
  notes_.emplace_back(now, received);
  // The window reaching back from now starts at or after the second note:
  // the first one is no longer needed as its start.
  while (notes_.size() > 1 && notes_[1].first <= now - window_) notes_.pop_front();
  if (now < window_) return true;
  return received - notes_.front().second >= bytes_;
}

}  // namespace update
