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

}  // namespace platform
