// How values read from the settings file become check-box states, and how a
// value is made fit for its single line in that file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// The decimal number at the start of text: leading spaces are skipped and
// reading stops at the first character that cannot continue the number
// (sign, digits, one decimal point, an exponent). No number reads as 0.
double LeadingNumber(std::wstring_view text);

// The check-box state a stored value stands for: its leading number rounded
// to a whole number, a half going to the even neighbour. Only 0 (unchecked),
// 1 (checked) and 2 (grayed) are states; any other number gives nullopt.
std::optional<int> CheckStateFromValue(std::wstring_view value);

// The state a check box is given for a stored value. A hand-edited number
// that is no state (7, -1) leaves the box unchecked: one odd entry in the
// settings file must not keep the program from starting.
int StoredCheckState(std::wstring_view value);

// Each carriage return and each line feed becomes one space, so a value
// keeps its length and stays on its line.
std::wstring WithoutLineBreaks(std::wstring value);

}  // namespace settings
