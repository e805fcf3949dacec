// What a screen reader learns of a window, read in-process as readers do
// (AccessibleObjectFromWindow), and the events it is sent; a dark
// high-contrast scheme; and pictures of windows for people to look at.
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

// EVENT_OBJECT_LIVEREGIONCHANGED, of Windows 8 and later.
constexpr DWORD kLiveRegionChanged = 0x8019;

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

// A dark high-contrast colour scheme while it lives: the session's system
// colours, and the setting itself, or the program's stand-in for it where
// the system keeps none (Wine); the earlier colours come back after.
class HighContrastScheme {
 public:
  HighContrastScheme();
  ~HighContrastScheme();
  static const int kElements[];
  static const COLORREF kColors[];

 private:
  std::vector<COLORREF> earlier_;
};

// The colours a control is handed for its text and background by the window
// procedure of its container, as the control asks when it paints.
struct HandedColors {
  COLORREF text, back;
};
HandedColors ColorsHandedTo(HWND control);

// With TAVRIK_SCREENSHOTS set to a folder, saves what the screen shows of
// window there as name.bmp; otherwise does nothing.
void SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace testing_support
