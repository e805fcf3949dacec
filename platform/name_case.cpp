// Letter case in names: one rule, the file system's, for every comparison
// of names the program makes.
#include "platform/name_case.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>


namespace platform {

// The file system's upper case of every UTF-16 unit, asked of the system
// once: without LCMAP_LINGUISTIC_CASING the mapping is one unit for one,
// whatever the user's locale. Surrogate halves stay as they are, as NTFS
// leaves them.
std::wstring FoldedName(const std::wstring& name) {
  static const std::vector<wchar_t> upper = [] {
    std::vector<wchar_t> units(0x10000), mapped(0x10000);
    for (size_t unit = 0; unit < units.size(); ++unit)
      units[unit] = mapped[unit] = static_cast<wchar_t>(unit);
    for (const auto& [from, to] : {std::pair{0x1, 0xD800}, std::pair{0xE000, 0x10000}})
      LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &units[from], to - from, &mapped[from],
                    to - from, nullptr, nullptr, 0);
    return mapped;
  }();
  std::wstring folded = name;
  for (wchar_t& unit : folded) unit = upper[static_cast<std::uint16_t>(unit)];
  return folded;
}

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && FoldedName(std::wstring(a)) == FoldedName(std::wstring(b));
}

}  // namespace platform
