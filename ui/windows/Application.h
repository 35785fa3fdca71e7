// The application object: its name, its main window and its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class CApplication {
public:
  explicit CApplication(std::string name) : name_(std::move(name)) {}
  virtual ~CApplication() = default;
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  const std::string& GetName() const { return name_; }
  HWND GetMainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

  bool IsRunning() const { return running_; }
  void SetRunning(bool running) { running_ = running; }

  // Runs while IsRunning(): each message is first offered to the main
  // window's keyboard navigation (IsDialogMessageA), else translated and
  // dispatched.  Returns after the message that cleared the running flag,
  // on WM_QUIT, or when GetMessageA fails.
  void RunMessageLoop();

  // A message box captioned with the application's name, owned by the
  // main window while it is shown.
  int ShowMessage(const std::string& text, UINT flags) const;

private:
  std::string name_;
  HWND mainWindow_ = nullptr;
  bool running_ = false;
};

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// Makes the list view, progress bar and tooltip classes available; call once
// before the first dialog that holds one.
void InitCommonControlsForDialogs();

}  // namespace ui
