// The least pace of a download.
#include "update/download_pace.h"

namespace update {

bool PaceRule::Keeps(std::chrono::milliseconds now, std::int64_t received) {
  notes_.emplace_back(now, received);
  // The window reaching back from now starts at or after the second note:
  // the first one is no longer needed as its start.
  while (notes_.size() > 1 && notes_[1].first <= now - window_) notes_.pop_front();
  if (now < window_) return true;
  return received - notes_.front().second >= bytes_;
}

}  // namespace update
