// Menu control_texts.
#include "platform/menu_item.h"

namespace platform {

std::wstring MenuItem::text() const {
  wchar_t text[256] = {};
  GetMenuStringW(menu_, id_, text, 256, by_position_ ? MF_BYPOSITION : MF_BYCOMMAND);
  return text;
}

void MenuItem::set_text(const std::wstring& text) {
  MENUITEMINFOW info = {sizeof(info), MIIM_STRING};
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu_, id_, by_position_, &info);
  if (owner_) DrawMenuBar(owner_);
}

bool MenuItem::checked() const { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void MenuItem::set_checked(bool checked) {
  CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::enabled() const { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_GRAYED) == 0; }

void MenuItem::set_enabled(bool enabled) {
  EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace platform
