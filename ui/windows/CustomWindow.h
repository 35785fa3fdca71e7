// Windows whose messages the program handles itself: a window of a class of
// our own (CCustomWindow, e.g. a hidden window that receives notifications)
// and a control taken over from a dialog template (CSubclassedWindow).
#pragma once

#include <windows.h>

#include "ui/windows/Window.h"

namespace ui {

class CCustomWindow : public CWindow {
public:
  CCustomWindow() = default;
  virtual ~CCustomWindow();
  CCustomWindow(const CCustomWindow&) = delete;
  CCustomWindow& operator=(const CCustomWindow&) = delete;

  // Registers className once per process (no style, cursor, brush or
  // icon) and creates the window; the object owns it from then on.
  bool Create(const char* className, DWORD style, DWORD exStyle, int x, int y, int width, int height, HWND parent);
  void DestroyWindow();

protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class CSubclassedWindow : public CWindow {
public:
  CSubclassedWindow() = default;
  virtual ~CSubclassedWindow();
  CSubclassedWindow(const CSubclassedWindow&) = delete;
  CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

  // Routes the control's messages through WindowProc; undone by Unsubclass
  // or when the control is destroyed.
  bool Subclass(HWND control);
  void Unsubclass();

protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  WNDPROC original_ = nullptr;
};

}  // namespace ui
