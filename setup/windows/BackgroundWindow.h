// The full-screen window behind setup's dialogs: a grey gradient with the
// application's name in the top-left corner.
#pragma once

#include <windows.h>

#include <string>

#include "ui/windows/CustomWindow.h"
#include "win32/Handles.h"

class CBackgroundWindow : public ui::CCustomWindow {
public:
  // Makes the window with its picture and shows it maximized.
  bool Create(const std::string& appName, HICON largeIcon, HICON smallIcon);

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  ui::CWindow picture_;
  UniqueBitmap bitmap_;
};

// The gradient with the shadowed title, as large as width x height.
HBITMAP MakeBackgroundBitmap(const std::string& title, int width, int height);
