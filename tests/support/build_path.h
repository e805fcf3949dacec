// Paths of the build's own programs, which the build gives in its own (Unix)
// form when it runs under Wine.
#pragma once

#include <string>

namespace testing_support {

inline std::wstring BuildPath(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  return !path.empty() && path[0] == '/' ? L"Z:" + wide : wide;
}

}  // namespace testing_support
