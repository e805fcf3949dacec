// Timers by their window and id, kept here so that the window needs no
// list of them.
#include "platform/timer.h"

#include <map>
#include <utility>

namespace platform {
namespace {

// Timers live on the window's thread only.
std::map<std::pair<HWND, UINT_PTR>, Timer*>& LiveTimers() {
  static std::map<std::pair<HWND, UINT_PTR>, Timer*> timers;
  return timers;
}

}  // namespace

void Timer::Create(const Control& owner, int interval_ms, bool enabled) {
  owner_ = owner.handle();
  // A window's first timer is 1, its second 2, and so on.
  id_ = 1;
  while (LiveTimers().count({owner_, id_})) ++id_;
  LiveTimers()[{owner_, id_}] = this;
  interval_ = interval_ms;
  enabled_ = enabled;
  Apply();
}

Timer::~Timer() {
  if (!id_) return;
  LiveTimers().erase({owner_, id_});
  if (owner_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::Apply() {
  if (!owner_) return;
  if (enabled_ && interval_ > 0)
    SetTimer(owner_, id_, interval_, nullptr);
  else
    KillTimer(owner_, id_);
}

void RunTimer(HWND owner, UINT_PTR id) {
  auto timer = LiveTimers().find({owner, id});
  if (timer != LiveTimers().end() && timer->second->on_tick) timer->second->on_tick();
}

}  // namespace platform
