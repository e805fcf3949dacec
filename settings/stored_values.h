// How values read from the settings file become check-box states and
// switches, and how a value is made fit for its single line in that file.
#pragma once

#include <string>
#include <string_view>

#include "platform/check_box.h"

namespace settings {

// The check-box state a stored value stands for: the decimal number at its
// start (leading spaces skipped, reading stops at the first character that
// cannot continue the number, no number reads as 0) rounded to a whole
// number, a half going to the even neighbour. Only 0 (unchecked), 1
// (checked) and 2 (grayed) are states; a hand-edited number that is none
// (7, -1) leaves the box unchecked: one odd entry in the settings file must
// not keep the program from starting.
platform::CheckState StoredCheckState(std::wstring_view value);

// An on/off choice as stored ("changed"): "1" is on; "0", a missing key
// and anything else are off, so a file from before the choice existed, or
// one edited by hand, keeps the program's default.
bool StoredSwitch(std::wstring_view value);
inline const wchar_t* SwitchValue(bool on) { return on ? L"1" : L"0"; }

// Each carriage return and each line feed becomes one space, so a value
// keeps its length and stays on its line.
std::wstring WithoutLineBreaks(std::wstring value);

}  // namespace settings
