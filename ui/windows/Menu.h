// Menus: CMenu owns a menu loaded from the resources; its popups are
// borrowed handles that live as long as it does.
#pragma once

#include <windows.h>

#include <string>

#include "win32/Handles.h"

namespace ui {

class CPopupMenu {
public:
  CPopupMenu() = default;
  explicit CPopupMenu(HMENU menu) : menu_(menu) {}
  HMENU GetHandle() const { return menu_; }
  bool IsValid() const { return menu_ != nullptr; }
  bool ModifyByPosition(UINT position, UINT command, const std::string& text);
  bool ModifyByCommand(UINT command, const std::string& text);
  std::string GetItemTextByPosition(UINT position) const;
  UINT GetCommandAt(UINT position) const { return ::GetMenuItemID(menu_, static_cast<int>(position)); }
  bool SetDefaultItemByPosition(UINT position) { return ::SetMenuDefaultItem(menu_, position, TRUE) != FALSE; }
  // The default item's command, or (UINT)-1.
  UINT GetDefaultCommand() const { return ::GetMenuDefaultItem(menu_, FALSE, 0); }
  // Shows the menu at a screen point; the chosen command goes to owner as WM_COMMAND.
  bool Track(UINT flags, int x, int y, HWND owner) const {
    return ::TrackPopupMenu(menu_, flags, x, y, 0, owner, nullptr) != FALSE;
  }

private:
  HMENU menu_ = nullptr;
};

class CMenu {
public:
  bool Load(int resourceId, HINSTANCE instance = nullptr);
  CPopupMenu GetSubMenu(int position) const { return CPopupMenu(::GetSubMenu(menu_.Get(), position)); }
  void Destroy() { menu_.Reset(); }
  HMENU GetHandle() const { return menu_.Get(); }

private:
  UniqueMenu menu_;
};

}  // namespace ui
