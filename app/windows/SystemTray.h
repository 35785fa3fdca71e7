// The icon in the notification area, its tooltip and its context menu.  A
// hidden window of its own receives the icon's notifications and turns them
// into commands for the main window.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "ui/windows/CustomWindow.h"
#include "ui/windows/Menu.h"

class CSystemTray : public ui::CCustomWindow {
public:
  CSystemTray();
  ~CSystemTray() override;

  // Adds the icon; target receives the menu's commands.  Returns whether
  // the icon is present.  The menu (resource number id) is loaded either way.
  bool Create(HWND parent, UINT callbackMessage, const std::string& tip, HICON icon, UINT id, HWND target);
  // Changes the picture of a present icon.
  bool SetIcon(HICON icon);
  void RemoveIcon();
  bool IsPresent() const { return present_; }
  bool SetMenuDefaultItem(UINT position) { return menu_.IsValid() && menu_.SetDefaultItemByPosition(position); }
  ui::CPopupMenu& Menu() { return menu_; }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

  NOTIFYICONDATAA data_;
  bool present_ = false;
  ui::CMenu menuResource_;
  ui::CPopupMenu menu_;
  HWND target_ = nullptr;
};
