// Display name of the mail client's version, shown in the main window's
// mail label.
#pragma once

#include <optional>
#include <string>

namespace environment {

// version is the mail client's own version text (major.minor.build...).
// nullopt when the text names no known build and has no "." to take a major
// version from; start-up treats that as an error.
std::optional<std::wstring> OutlookVersionName(const std::wstring& version);

}  // namespace environment
