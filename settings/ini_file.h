// The settings file "TAVRIK Backup.ini": where it is, and reading and
// writing its values through the private-profile functions.
#pragma once

#include <cstddef>
#include <string>

namespace settings {

extern const wchar_t kIniFileName[];
// The longest value ReadIni gives back whole.
constexpr std::size_t kMaxValueLength = 254;

// The file beside the program when a normal file of that name is there,
// otherwise the one in the "AppData" folder, whether it exists or not.
std::wstring LocateIniFile();
// The same rule for a program that runs from program_folder.
std::wstring LocateIniFile(const std::wstring& program_folder);

// The stored value, at most kMaxValueLength characters, or fallback when the file,
// section or key is missing.
std::wstring ReadIni(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key, const std::wstring& fallback);

// Stores value on one line: each CR and LF becomes a space. False when the
// file could not be written (read-only, locked).
bool WriteIni(const std::wstring& file, const std::wstring& section, const std::wstring& key,
              const std::wstring& value);

}  // namespace settings
