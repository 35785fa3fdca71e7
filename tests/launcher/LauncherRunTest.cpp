#include "launcher/LauncherRun.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A launcher world with a clock that moves only when the launcher sleeps.
class FakeLauncherSystem : public LauncherSystem {
public:
  bool registryReadable = true;
  std::string uninstallString = "C:\\Program Files\\Kelvane\\uninstall.exe";
  bool clientStarts = true;
  bool mainStarts = true;
  long long windowAppearsAt = 0;  // seconds after the start; < 0: never
  bool mainRunning = false;
  bool clockStuck = false;
  long long now = 1000000;
  long long startedAt = 1000000;
  std::vector<std::pair<std::string, std::string>> started;
  std::vector<const LauncherMessage*> shown;
  int sleeps = 0;

  bool ReadUninstallString(std::string& value) override {
    if (!registryReadable) return false;
    value = uninstallString;
    return true;
  }
  bool Start(const std::string& file, const std::string& parameters) override {
    started.emplace_back(file, parameters);
    return file == "msimn" ? clientStarts : mainStarts;
  }
  bool ClientWindowExists() override { return windowAppearsAt >= 0 && now - startedAt >= windowAppearsAt; }
  bool MainProgramRunning() override { return mainRunning; }
  long long NowSeconds() override { return now; }
  void SleepMilliseconds(unsigned milliseconds) override {
    ++sleeps;
    if (!clockStuck) now += milliseconds / 1000;
  }
  void Show(const LauncherMessage& message) override { shown.push_back(&message); }
};

}  // namespace

TEST(LauncherWait, AWindowAppearingLateInTheWaitStillStartsKelvane) {
  for (long long at : {0, 1, 29, 30, 31, 45, 59, 60}) {
    FakeLauncherSystem system;
    system.windowAppearsAt = at;
    EXPECT_EQ(0, RunLauncher("", system)) << at;
    EXPECT_TRUE(system.shown.empty()) << at;
    ASSERT_EQ(2u, system.started.size()) << at;
    EXPECT_EQ("C:\\Program Files\\Kelvane\\kelvane.exe", system.started[1].first);
  }
}

TEST(LauncherWait, NoWindowInSixtySecondsShowsTheMessage) {
  FakeLauncherSystem system;
  system.windowAppearsAt = -1;
  EXPECT_EQ(1, RunLauncher("", system));
  ASSERT_EQ(1u, system.shown.size());
  EXPECT_EQ(&LauncherMessages::kNoClientWindow, system.shown[0]);
  EXPECT_TRUE(system.shown[0]->systemModalError);
  EXPECT_EQ(60, system.sleeps);
  EXPECT_EQ(1u, system.started.size());
}

TEST(LauncherWait, AStoppedClockCannotMakeTheWaitEndless) {
  FakeLauncherSystem system;
  system.windowAppearsAt = -1;
  system.clockStuck = true;
  EXPECT_FALSE(WaitForClientWindow(system));
  EXPECT_EQ(60, system.sleeps);
}

TEST(LauncherStart, ParametersGoToTheClientAndNoneToKelvane) {
  FakeLauncherSystem system;
  EXPECT_EQ(0, RunLauncher("/mailurl:mailto:a@b.example \"x y\"", system));
  ASSERT_EQ(2u, system.started.size());
  EXPECT_EQ("msimn", system.started[0].first);
  EXPECT_EQ("/mailurl:mailto:a@b.example \"x y\"", system.started[0].second);
  EXPECT_EQ("", system.started[1].second);
  EXPECT_EQ(0, system.sleeps);
}

TEST(LauncherStart, ARunningKelvaneIsNotStartedTwice) {
  FakeLauncherSystem system;
  system.mainRunning = true;
  EXPECT_EQ(0, RunLauncher("", system));
  ASSERT_EQ(1u, system.started.size());
  EXPECT_EQ("msimn", system.started[0].first);
}

TEST(LauncherFailures, EachFailureShowsItsMessageAndEndsWithOne) {
  FakeLauncherSystem noKey;
  noKey.registryReadable = false;
  EXPECT_EQ(1, RunLauncher("", noKey));
  EXPECT_EQ(&LauncherMessages::kNoRegistry, noKey.shown.at(0));
  EXPECT_FALSE(noKey.shown[0]->systemModalError);
  EXPECT_STREQ("Error", noKey.shown[0]->caption);
  EXPECT_TRUE(noKey.started.empty());

  FakeLauncherSystem noBackslash;
  noBackslash.uninstallString = "uninstall.exe";
  EXPECT_EQ(1, RunLauncher("", noBackslash));
  EXPECT_EQ(&LauncherMessages::kNoRegistry, noBackslash.shown.at(0));
  EXPECT_TRUE(noBackslash.started.empty());

  FakeLauncherSystem noClient;
  noClient.clientStarts = false;
  EXPECT_EQ(1, RunLauncher("", noClient));
  EXPECT_EQ(&LauncherMessages::kClientNotStarted, noClient.shown.at(0));
  EXPECT_EQ(1u, noClient.started.size());

  FakeLauncherSystem noMain;
  noMain.mainStarts = false;
  EXPECT_EQ(1, RunLauncher("", noMain));
  EXPECT_EQ(&LauncherMessages::kMainProgramNotStarted, noMain.shown.at(0));
  EXPECT_STREQ("Kelvane Error", noMain.shown[0]->caption);

  FakeLauncherSystem longPath;
  longPath.uninstallString = "C:\\" + std::string(250, 'p') + "\\uninstall.exe";
  EXPECT_EQ(1, RunLauncher("", longPath));
  EXPECT_EQ(&LauncherMessages::kMainProgramNotStarted, longPath.shown.at(0));
  EXPECT_EQ(1u, longPath.started.size());
}
