// Kelvstart's sequence: start Outlook Express, wait for its main window, then
// start Kelvane unless it runs already.  Every platform call goes through
// LauncherSystem, so the sequence and its wait run against a fake clock in
// the tests.
#pragma once

#include <string>

struct LauncherMessage {
  const char* text;
  const char* caption;
  bool systemModalError;  // error icon, system-modal; otherwise a plain OK box
};

namespace LauncherMessages {
extern const LauncherMessage kNoRegistry;
extern const LauncherMessage kClientNotStarted;
extern const LauncherMessage kNoClientWindow;
extern const LauncherMessage kMainProgramNotStarted;
}  // namespace LauncherMessages

class LauncherSystem {
public:
  virtual ~LauncherSystem() = default;
  // The "UninstallString" of the application's Uninstall key; false when the
  // key cannot be opened or holds no such string.
  virtual bool ReadUninstallString(std::string& value) = 0;
  // Starts a program through the shell; false when the shell reports failure.
  virtual bool Start(const std::string& file, const std::string& parameters) = 0;
  virtual bool ClientWindowExists() = 0;
  virtual bool MainProgramRunning() = 0;
  virtual long long NowSeconds() = 0;
  virtual void SleepMilliseconds(unsigned milliseconds) = 0;
  virtual void Show(const LauncherMessage& message) = 0;
};

// Seconds the launcher waits for the client's main window.
constexpr long long kClientWaitSeconds = 60;

// True when the client's main window appeared within the wait.
bool WaitForClientWindow(LauncherSystem& system);

// Runs the whole sequence; the result is the process exit code.
int RunLauncher(const std::string& parameters, LauncherSystem& system);
