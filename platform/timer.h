// A timer of a window: ticks every interval while enabled and the interval
// is not 0.
#pragma once

#include <functional>

#include <windows.h>

namespace platform {

class Form;

class Timer {
 public:
  void Create(Form& owner, int interval_ms, bool enabled);
  ~Timer();
  int interval() const { return interval_; }
  void set_interval(int ms) { interval_ = ms; Apply(); }
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

}  // namespace platform
