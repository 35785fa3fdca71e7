#include "launcher/LauncherRun.h"

#include "base/Product.h"

namespace LauncherMessages {
const LauncherMessage kNoRegistry = {kRegistryErrorText, "Error", false};
const LauncherMessage kClientNotStarted = {"Outlook Express could not be started!", kProductErrorCaption, true};
const LauncherMessage kNoClientWindow = {
    "Kelvane cannot start!\nAn appropriate Outlook Express window with one of the\nfollowing window "
    "classes could not be found:\nOutlook Express Browser Class\nOutlook Express NewsStore",
    kProductErrorCaption, true};
const LauncherMessage kMainProgramNotStarted = {"Kelvane.exe could not found/opened!", kProductErrorCaption, true};
}  // namespace LauncherMessages

namespace {

// The ANSI path limit, terminating zero included.
constexpr std::string::size_type kPathCapacity = 260;

}  // namespace

// The outcome is decided by whether the window was seen, never by how long
// the wait took: a client that needs 45 seconds to open its window (a slow
// disk, a large message store) has still opened it, and the message would
// wrongly say that no window was found.  So a window found at any poll within
// the 60 seconds starts Kelvane, and only a wait that ends without a window
// brings the message.  The polls are counted as well, so that a clock set
// back during the wait cannot make it endless.
bool WaitForClientWindow(LauncherSystem& system) {
  long long start = system.NowSeconds();
  for (long long polls = 0;; ++polls) {
    if (system.ClientWindowExists()) return true;
    long long elapsed = system.NowSeconds() - start;
    if (elapsed >= kClientWaitSeconds || polls >= kClientWaitSeconds) return false;
    system.SleepMilliseconds(1000);
  }
}

int RunLauncher(const std::string& parameters, LauncherSystem& system) {
  std::string uninstallString;
  std::string::size_type cut = std::string::npos;
  if (system.ReadUninstallString(uninstallString)) cut = uninstallString.rfind('\\');
  if (cut == std::string::npos) {
    system.Show(LauncherMessages::kNoRegistry);
    return 1;
  }
  std::string installDirectory = uninstallString.substr(0, cut);

  if (!system.Start("msimn", parameters)) {
    system.Show(LauncherMessages::kClientNotStarted);
    return 1;
  }
  if (!WaitForClientWindow(system)) {
    system.Show(LauncherMessages::kNoClientWindow);
    return 1;
  }
  if (system.MainProgramRunning()) return 0;

  std::string mainProgram = installDirectory + "\\kelvane.exe";
  if (mainProgram.size() >= kPathCapacity || !system.Start(mainProgram, std::string())) {
    system.Show(LauncherMessages::kMainProgramNotStarted);
    return 1;
  }
  return 0;
}
