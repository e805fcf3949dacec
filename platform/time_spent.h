// Time spent in one kind of work, added up only when a benchmark asks for
// it: a part that can be measured holds a TimeSpent pointer, empty in the
// program, and measures itself while it is set.
#pragma once

#include <chrono>

namespace platform {

struct TimeSpent {
  std::chrono::steady_clock::duration total{};
  std::chrono::steady_clock::duration longest{};
  long times = 0;
};

// Adds the time from its making to the end of its scope to spent, if any.
class MeasuredScope {
 public:
  explicit MeasuredScope(TimeSpent* spent) : spent_(spent) {
    if (spent_) start_ = std::chrono::steady_clock::now();
  }
  ~MeasuredScope() {
    if (!spent_) return;
    const std::chrono::steady_clock::duration spent = std::chrono::steady_clock::now() - start_;
    spent_->total += spent;
    if (spent > spent_->longest) spent_->longest = spent;
    ++spent_->times;
  }
  MeasuredScope(const MeasuredScope&) = delete;
  MeasuredScope& operator=(const MeasuredScope&) = delete;

 private:
  TimeSpent* spent_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace platform
