// The settings file over the platform's private-profile functions.
#include "settings/ini_file.h"

#include "platform/files.h"
#include "platform/profile_file.h"
#include "settings/stored_values.h"

namespace settings {

const wchar_t kIniFileName[] = L"TAVRIK Backup.ini";

std::wstring LocateIniFile() { return LocateIniFile(platform::ProgramFolder()); }

std::wstring LocateIniFile(const std::wstring& program_folder) {
  std::wstring beside = program_folder + L"\\" + kIniFileName;
  if (!platform::NormalFileName(beside).empty()) return beside;
  return platform::EnvironmentValue(L"AppData") + L"\\" + kIniFileName;
}

std::wstring ReadIni(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key, const std::wstring& fallback) {
  return platform::ReadProfileText(file, section, key, fallback, kMaxValueLength + 1);
}

bool WriteIni(const std::wstring& file, const std::wstring& section, const std::wstring& key,
              const std::wstring& value) {
  return platform::WriteProfileText(file, section, key, WithoutLineBreaks(value));
}

}  // namespace settings
