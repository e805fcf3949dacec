// What a screen reader learns of a window, read in-process as readers do
// (AccessibleObjectFromWindow), and the events it is sent; a dark
// high-contrast scheme and the colours a window hands its controls.
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

// EVENT_OBJECT_LIVEREGIONCHANGED, of Windows 8 and later.
constexpr DWORD kLiveRegionChanged = 0x8019;

// The windows that raise event while it lives, as the thread's messages run.
class EventRecorder {
 public:
  explicit EventRecorder(DWORD event);
  ~EventRecorder();
  std::vector<HWND> windows;

 private:
  HWINEVENTHOOK hook_;
};

// A dark high-contrast scheme while it lives: the session's colours, and
// the setting, or the program's stand-in for it where the system keeps none
// (Wine). Controls are drawn without a visual style meanwhile, as Windows
// draws them under such a scheme.
class HighContrastScheme {
 public:
  HighContrastScheme();
  ~HighContrastScheme();

 private:
  std::vector<COLORREF> earlier_;
};

// The colours the control's container hands it (WM_CTLCOLOR*) to paint in.
struct HandedColors {
  COLORREF text, back;
};
HandedColors ColorsHandedTo(HWND control);


}  // namespace testing_support
