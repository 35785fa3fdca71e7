#include "ui/windows/Menu.h"

namespace ui {

// ModifyMenuA resets an item's state, the default mark included; the
// default item stays the default.
bool CPopupMenu::ModifyByPosition(UINT position, UINT command, const std::string& text) {
  const UINT defaultPosition = ::GetMenuDefaultItem(menu_, TRUE, 0);
  const bool ok = ::ModifyMenuA(menu_, position, MF_BYPOSITION | MF_STRING, command, text.c_str()) != FALSE;
  if (defaultPosition != static_cast<UINT>(-1)) ::SetMenuDefaultItem(menu_, defaultPosition, TRUE);
  return ok;
}

bool CPopupMenu::ModifyByCommand(UINT command, const std::string& text) {
  const UINT defaultPosition = ::GetMenuDefaultItem(menu_, TRUE, 0);
  const bool ok = ::ModifyMenuA(menu_, command, MF_BYCOMMAND | MF_STRING, command, text.c_str()) != FALSE;
  if (defaultPosition != static_cast<UINT>(-1)) ::SetMenuDefaultItem(menu_, defaultPosition, TRUE);
  return ok;
}

std::string CPopupMenu::GetItemTextByPosition(UINT position) const {
  const int length = ::GetMenuStringA(menu_, position, nullptr, 0, MF_BYPOSITION);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetMenuStringA(menu_, position, &text[0], length + 1, MF_BYPOSITION);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

bool CMenu::Load(int resourceId, HINSTANCE instance) {
  if (instance == nullptr) instance = ::GetModuleHandleA(nullptr);
  menu_.Reset(::LoadMenuA(instance, MAKEINTRESOURCEA(resourceId)));
  return static_cast<bool>(menu_);
}

}  // namespace ui
