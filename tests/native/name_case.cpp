// The host's stand-in for the file system's letter-case rule: an ordinal
// upper case of each character, the same under every locale, as the
// program's own rule is on Windows.
#include "platform/name_case.h"

#include <cwctype>

namespace platform {

std::wstring FoldedName(const std::wstring& name) {
  std::wstring folded = name;
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return folded;
}

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return FoldedName(std::wstring(a)) == FoldedName(std::wstring(b));
}

}  // namespace platform
