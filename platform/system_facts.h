// What the program asks of the user's session and the system: the user's
// name and locale, the system's version, the standard folders' paths, and
// whether a key of the user's registry exists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Whether the key exists under HKEY_CURRENT_USER; opened for reading only,
// so that a user with fewer rights on it still sees it.
bool CurrentUserKeyExists(const std::wstring& path);

// The logged-on user's name as GetUserName gives it into a buffer of
// `buffer_chars` characters; "" when it did not fit.
std::wstring UserNameWithin(std::uint32_t buffer_chars);

// The locale text of the given type (LOCALE_SABBREVLANGNAME is 3) for the
// locale id; nothing when the query fails.
std::optional<std::wstring> LocaleText(std::uint32_t lcid, std::uint32_t lctype);

struct SystemVersion {
  bool ok = false;
  std::uint32_t platform_id = 0, major = 0, minor = 0, build = 0;
};
// The system's true version, as the kernel reports it to every program.
SystemVersion GetSystemVersion();

// The current path of a standard folder by its CSIDL number, or "" when it
// has none (a virtual folder) or the lookup only warns.
std::wstring SpecialFolderPath(int csidl);

}  // namespace platform
