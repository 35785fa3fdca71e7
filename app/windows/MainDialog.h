// The main window: status list, every everyday option, the about area with
// its links, the tray icon and the watch timer.  Created hidden and disabled
// at start-up; the tray's Show command brings it up.
#pragma once

#include <string>

#include "LanguageTable.h"
#include "app/WatchPause.h"
#include "app/windows/HyperLink.h"
#include "app/windows/SystemTray.h"
#include "automation/StatusLog.h"
#include "automation/WindowWatcher.h"
#include "automation/windows/Win32Accessibility.h"
#include "automation/windows/Win32Clipboard.h"
#include "automation/windows/Win32Desktop.h"
#include "automation/windows/Win32System.h"
#include "engine/Settings.h"
#include "ui/windows/Application.h"
#include "ui/windows/Controls.h"
#include "ui/windows/Dialog.h"
#include "win32/Handles.h"

// The language table as the watch looks its warnings up.
class LanguageTexts : public TextLookup {
public:
  explicit LanguageTexts(LanguageTable& table) : table_(table) {}
  const char* GetText(const char* key) override { return table_.GetText(key); }

private:
  LanguageTable& table_;
};

class CMainDialog : public ui::CDialog, public IControlText, public WatcherHost, private StatusLog::Listener {
public:
  CMainDialog(ui::CApplication& app, Settings& settings, LanguageTable& language);
  ~CMainDialog() override;

  // Makes the window from its template, hidden and disabled, with no parent.
  bool CreateHidden();

  // Reads the controls back and ends the message loop; the shutdown saves.
  void Terminate() override;
  // Reads the controls back into Settings and the wrap column from its field.
  void ValidateWrapColumn() override;

  void SetControlText(int controlId, const char* text) override { SetItemText(controlId, text); }

  // The data exchange's writes; the wrap column field keeps what the user is
  // typing into it.
  void WriteText(int controlId, const std::string& text) override;

protected:
  void DoDataExchange(ui::DataExchange& dx) override;
  bool OnInitDialog() override;
  bool OnCommand(WORD code, WORD id, HWND control) override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ReportBadEntry(int controlId, const std::string& message) override;

private:
  void OnStatusRow(const StatusRow& row) override;

  void ShowFromTray();
  void ToggleProcessing();
  void InvertFromTray();
  void RunAdvancedOptions();
  void OnHeaderStyleChanged();
  void OnQuoteCharChanged();
  void OnWrapColumnLeft();
  void HideAndSave();
  void SaveOnSessionEnd();
  void ApplyWatchPause() { watcher_.SetDisabled(pause_.IsPaused()); }
  void StartWatchTimer();
  void ApplyTrayMenuTexts();
  void UpdateInvertMenuText();
  void SelectQuoteChar();

  ui::CApplication& app_;
  Settings& settings_;
  LanguageTable& language_;

  // What the watch works through; they outlive it.
  Win32WindowSystem windows_;
  Win32Input input_;
  Win32Clipboard clipboard_;
  Win32Clock clock_;
  Win32MessageBoxes boxes_;
  Win32Accessibility accessibility_;
  LanguageTexts texts_;
  StatusLog log_;
  WindowWatcher watcher_;
  WatchPause pause_;

  std::string invertLabel_ = "Invert Cursor/Sig";
  std::string topWord_ = "top";
  std::string bottomWord_ = "bottom";
  UniqueIcon disabledIcon_;
  ui::CComboBox headerStyles_;
  CHyperLink donationLink_;
  CHyperLink feedbackLink_;
  CHyperLink webLink_;
  ui::CListView statusList_;
  CSystemTray tray_;
  UniqueIcon mainIcon_;
  UniqueIcon largeIcon_;

  bool validating_ = false;
  bool quietExchange_ = false;
  bool destroying_ = false;
};
