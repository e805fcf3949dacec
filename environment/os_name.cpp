// Operating-system name from the version numbers.
#include "environment/os_name.h"

namespace environment {

namespace {

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;  // 95, 98 and ME
constexpr std::uint32_t kPlatformNt = 2;

struct NtName {
  const wchar_t* version;
  const wchar_t* name;
};

// Matched as "major.minor" text, so minor 10 ("6.10") is not 6.1.
constexpr NtName kNtNames[] = {
    {L"5.0", L"Windows 2000"}, {L"5.1", L"Windows XP"},
    {L"5.2", L"Windows 2003"}, {L"6.0", L"Windows Vista"},
    {L"6.1", L"Windows 7"},    {L"6.2", L"Windows 8"},
    {L"6.3", L"Windows 8.1"},
};

// Windows 11 still reports version 10.0; its builds begin at 22000.
constexpr std::uint32_t kFirstWindows11Build = 22000;

}  // namespace

std::wstring OperatingSystemNameFor(bool call_succeeded, std::uint32_t platform_id,
                                    std::uint32_t major, std::uint32_t minor,
                                    std::uint32_t build) {
  if (!call_succeeded) {
    return L"NONE";
  }
  switch (platform_id) {
    case kPlatformWin32s:
      return L"Win32s";
    case kPlatformWindows:
      if (major >= 5) return L"Windows ME";
      if (major == 4 && minor > 0) return L"Windows 98";
      return L"Windows 95";
    case kPlatformNt: {
      if (major == 10 && minor == 0)
        return build >= kFirstWindows11Build ? L"Windows 11" : L"Windows 10";
      const std::wstring version = std::to_wstring(major) + L"." + std::to_wstring(minor);
      for (const NtName& entry : kNtNames) {
        if (version == entry.version) return entry.name;
      }
      return L"Windows NT";
    }
    default:
      return L"NONE";
  }
}

}  // namespace environment
