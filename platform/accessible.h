// What a screen reader learns of the program's controls, through the
// system's accessibility interfaces (MSAA, which UI Automation reads too).
// Used inside platform/ only: the controls call these.
#pragma once

#include <windows.h>

namespace platform {

class Control;

// The answer to WM_GETOBJECT for a control that needs the system's own
// object told more (a name, a description, a role): that object, wrapped so
// that the control's facts are read when asked. 0 leaves the question to
// the system.
LRESULT AnswerAccessibleObject(const Control& control, WPARAM wparam, LPARAM lparam);

// Marks the control a polite live region: a reader announces its text when
// told it changed, without moving the user's focus.
void MarkLiveRegion(HWND hwnd);
// Tells readers that the live region's text changed.
void RaiseLiveRegionChanged(HWND hwnd);

}  // namespace platform
