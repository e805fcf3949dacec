// The settings file over the platform's private-profile functions.
#include "settings/ini_file.h"

#include "platform/files.h"
#include "platform/registry.h"
#include "settings/check_state.h"

namespace settings {

const wchar_t kIniFileName[] = L"TAVRIK Backup.ini";

std::wstring LocateIniFile() {
  std::wstring beside = platform::ProgramFolder() + L"\\" + kIniFileName;
  if (!platform::NormalFileName(beside).empty()) return beside;
  return platform::EnvironmentValue(L"AppData") + L"\\" + kIniFileName;
}

std::wstring ReadIni(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key, const std::wstring& fallback) {
  return platform::ReadProfileString(file, section, key, fallback, 255);
}

void WriteIni(const std::wstring& file, const std::wstring& section, const std::wstring& key,
              const std::wstring& value) {
  platform::WriteProfileString(file, section, key, WithoutLineBreaks(value));
}

}  // namespace settings
