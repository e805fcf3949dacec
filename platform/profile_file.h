// Private-profile ("INI") files, written in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The value of key in section, or fallback; at most buffer_chars - 1
// characters.
std::wstring ReadProfileText(const std::wstring& file, const std::wstring& section,
                             const std::wstring& key, const std::wstring& fallback,
                             std::uint32_t buffer_chars);
// False when the file could not be written (read-only, locked).
bool WriteProfileText(const std::wstring& file, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value);

}  // namespace platform
