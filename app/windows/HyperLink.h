// A static text control taken over from a dialog template that acts as a
// link: underlined text in link colours, a hover colour, a hand cursor where
// the system has one, a tooltip with its target, and a click that opens the
// target through the shell (with the registered web browser as fallback).
#pragma once

#include <windows.h>

#include <string>

#include "base/Product.h"
#include "ui/windows/Controls.h"
#include "ui/windows/CustomWindow.h"
#include "win32/Handles.h"

class CHyperLink : public ui::CSubclassedWindow {
public:
  CHyperLink();
  ~CHyperLink() override;

  // Takes the control over from its dialog; call once from OnInitDialog.
  bool TakeOver(HWND control);
  void SetTarget(const std::string& target);
  const std::string& GetTarget() const { return target_; }
  // A hover colour of (COLORREF)-1 means the system highlight colour.
  void SetColours(COLORREF link, COLORREF visited, COLORREF hover = static_cast<COLORREF>(-1));
  void SetVisited(bool visited);
  bool IsVisited() const { return visited_; }
  // Caption of the error box (the application's name).
  void SetMessageCaption(const std::string& caption) { caption_ = caption; }

  // Opens target; returns the shell's result code (above 32 is success).
  static int GotoURL(const std::string& target, int showCommand);
  void ReportLinkError(int code) const;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void AdjustToFit();
  void LoadLinkCursor();
  void Repaint(bool now);
  void OnClicked();

  COLORREF linkColour_;
  COLORREF visitedColour_;
  COLORREF hoverColour_;
  bool over_ = false;
  bool visited_ = false;
  bool underline_ = true;
  bool adjustToFit_ = true;
  std::string target_;
  std::string caption_ = kProductName;
  UniqueFont font_;
  UniqueCursor cursor_;
  ui::CToolTip toolTip_;
};
