// Who is logged on and which system runs.
#pragma once

#include <string>

namespace environment {

std::wstring OperatingSystemName();
// The logged-on user's name; "" when it does not fit in 100 characters with
// its terminator.
std::wstring UserName();

}  // namespace environment
