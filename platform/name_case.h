// How names compare with their letter case ignored, as the file system
// compares them. Declared apart from the file calls so that rules built on it
// need no windows.h (the native rules tests give it a stand-in).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// name in the form in which names that differ only in letter case are
// equal: the file system's own upper case, the same under every user
// locale (a Turkish "i" is an "I" here, as it is to the file system).
std::wstring FoldedName(const std::wstring& name);

// Whether a and b are the same text the way the file system compares names,
// letter case ignored: the same rule as FoldedName.
bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace platform
