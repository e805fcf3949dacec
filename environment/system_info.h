// Who is logged on, which system runs, and where the user's standard
// folders are.
#pragma once

#include <string>

namespace environment {

std::wstring GetOSName();
// The folder's current path, or "" when it has none (a virtual folder).
std::wstring GetSpecialFolder(int csidl);
// The logged-on user's name; "" when it does not fit in 100 characters with
// its terminator.
std::wstring UserNameText();

}  // namespace environment
