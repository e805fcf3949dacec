// Registry, user, locale, version, standard folders and profile files.
#include "platform/registry.h"

#include <windows.h>
#include <shlobj.h>


namespace platform {

bool CurrentUserKeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  if (result == ERROR_SUCCESS) RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::wstring UserName(std::uint32_t buffer_chars) {
  std::wstring buffer(buffer_chars, L'\0');
  DWORD size = buffer_chars;
  GetUserNameW(&buffer[0], &size);
  return buffer.c_str();
}

std::optional<std::wstring> LocaleText(std::uint32_t lcid, std::uint32_t lctype) {
  wchar_t buffer[1024] = {};
  int written = GetLocaleInfoW(lcid, lctype, buffer, 1024);
  if (written == 0) return std::nullopt;
  return std::wstring(buffer, written - 1);
}

SystemVersion GetSystemVersion() {
  OSVERSIONINFOW info = {sizeof(info)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (!ok) return {};
  return {true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

std::wstring SpecialFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  return result == S_OK ? buffer : L"";
}

std::wstring ReadProfileText(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, const std::wstring& fallback,
                               std::uint32_t buffer_chars) {
  std::wstring buffer(buffer_chars + 1, L' ');
  DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                          &buffer[0], buffer_chars, file.c_str());
  buffer.resize(length);
  return buffer;
}

bool WriteProfileText(const std::wstring& file, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

}  // namespace platform
