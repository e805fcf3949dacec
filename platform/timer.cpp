// Timers run on their window's WM_TIMER.
#include "platform/timer.h"

#include "platform/form.h"

namespace platform {

void Timer::Create(Form& owner, int interval_ms, bool enabled) {
  owner_ = owner.handle();
  id_ = owner.AddTimer(this);
  interval_ = interval_ms;
  enabled_ = enabled;
  Apply();
}

Timer::~Timer() {
  if (owner_ && IsWindow(owner_)) KillTimer(owner_, id_);
}

void Timer::Apply() {
  if (!owner_) return;
  if (enabled_ && interval_ > 0)
    SetTimer(owner_, id_, interval_, nullptr);
  else
    KillTimer(owner_, id_);
}

}  // namespace platform
