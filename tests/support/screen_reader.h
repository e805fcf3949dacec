// What a screen reader learns of a window, read in-process as readers do
// (AccessibleObjectFromWindow), and the events it is sent; and pictures of
// windows for people to look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct Heard {
  std::wstring name, description, default_action;
  long role = 0, state = 0;
  bool has(long state_bit) const { return (state & state_bit) != 0; }
};
Heard Hear(HWND control);
// Does what a reader's "activate" does (the default action).
bool DoDefaultAction(HWND control);

// Records the windows that raise a WinEvent while it lives; the events reach
// it as the thread's messages run.
class EventRecorder {
 public:
  explicit EventRecorder(DWORD event);
  ~EventRecorder();
  std::vector<HWND> windows;

 private:
  HWINEVENTHOOK hook_;
};

// With TAVRIK_SCREENSHOTS set to a folder, saves what the screen shows of
// window there as name.bmp; otherwise does nothing.
void SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace testing_support
