// A timer of a window: ticks every interval while enabled and the interval
// is not 0. The window that owns it passes its WM_TIMER on to RunTimer.
#pragma once

#include <functional>

#include <windows.h>

#include "platform/control.h"

namespace platform {

class Timer {
 public:
  Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  void Create(const Control& owner, int interval_ms, bool enabled);
  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled) { enabled_ = enabled; Apply(); }
  std::function<void()> on_tick;

 private:
  void Apply();
  HWND owner_ = nullptr;
  UINT_PTR id_ = 0;
  int interval_ = 0;
  bool enabled_ = false;
};

// Runs the timer of that window's WM_TIMER; a tick whose timer is gone (it
// was queued before its timer went) is dropped.
void RunTimer(HWND owner, UINT_PTR id);

}  // namespace platform
