// The user's session and the system, each asked of the system's own call.
#include "platform/system_facts.h"

#include <windows.h>
#include <shlobj.h>

namespace platform {

bool CurrentUserKeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  if (result == ERROR_SUCCESS) RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::wstring UserNameWithin(std::uint32_t buffer_chars) {
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
  // GetVersionEx answers 6.2 (Windows 8) on 8.1, 10 and 11 to a program
  // whose manifest does not list them; the kernel's own call does not lie.
  using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtl_get_version = reinterpret_cast<RtlGetVersionCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  bool ok = rtl_get_version && rtl_get_version(&info) == 0;
  if (!ok) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ok = GetVersionExW(&info) != FALSE;
#pragma GCC diagnostic pop
  }
  if (!ok) return {};
  return {true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::wstring SpecialFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  return result == S_OK ? buffer : L"";
}

}  // namespace platform
