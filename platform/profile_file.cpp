// Private-profile files over the wide system calls.
#include "platform/profile_file.h"

#include <windows.h>

namespace platform {

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
