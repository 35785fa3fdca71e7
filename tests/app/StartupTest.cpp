#include "app/Startup.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A desktop, registry and installation directory as start-up sees them; every
// call is recorded so that the order and the absence of writes can be checked.
class FakeStartupHost : public StartupHost {
public:
  bool otherInstance = false;
  RegistryRead registryResult = RegistryRead::kOk;
  std::string uninstallString = "C:\\Program Files\\Kelvane\\uninstall.exe";
  bool directoryExists = true;
  bool settingsFileExists = true;
  int32_t fileDependOnOE = 1;
  bool outlookRunning = true;
  bool answerYes = false;
  bool windowCreated = true;

  std::vector<std::string> calls;
  std::string currentDirectory;

  bool ShowRunningInstance() override {
    calls.push_back("find instance");
    return otherInstance;
  }
  RegistryRead ReadUninstallString(std::string& value) override {
    calls.push_back("registry");
    if (registryResult == RegistryRead::kOk) value = uninstallString;
    return registryResult;
  }
  bool ChangeDirectory(const std::string& directory) override {
    calls.push_back("cd " + directory);
    if (directoryExists) currentDirectory = directory;
    return directoryExists;
  }
  void ShowRegistryError() override { calls.push_back("registry error"); }
  void LoadLanguageTable() override { calls.push_back("language"); }
  bool LoadSettings(Settings& settings) override {
    calls.push_back("load settings");
    if (!settingsFileExists) return true;
    settings.dependOnOE = fileDependOnOE;
    return false;
  }
  void ShowFirstStartNote() override { calls.push_back("first start note"); }
  bool IsOutlookExpressRunning() override {
    calls.push_back("find client");
    return outlookRunning;
  }
  bool AskToDropDependency() override {
    calls.push_back("ask dependency");
    return answerYes;
  }
  bool CreateMainWindow() override {
    calls.push_back("main window");
    return windowCreated;
  }
};

Settings Defaults() {
  Settings s;
  ResetSettings(s);
  return s;
}

using Calls = std::vector<std::string>;

TEST(StartupOrder, ANormalStartRunsEveryStepInOrder) {
  FakeStartupHost host;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kRun);
  EXPECT_EQ(host.calls, (Calls{"find instance", "registry", "cd C:\\Program Files\\Kelvane", "language",
                               "load settings", "find client", "main window"}));
}

TEST(StartupOrder, ASecondStartOnlyShowsTheRunningInstance) {
  FakeStartupHost host;
  host.otherInstance = true;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kOtherInstance);
  EXPECT_EQ(host.calls, Calls{"find instance"});
}

TEST(StartupOrder, AFirstStartShowsTheNoteAndGoesOn) {
  FakeStartupHost host;
  host.settingsFileExists = false;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kRun);
  EXPECT_EQ(host.calls, (Calls{"find instance", "registry", "cd C:\\Program Files\\Kelvane", "language",
                               "load settings", "first start note", "find client", "main window"}));
}

TEST(StartupDependency, DecliningEndsBeforeTheMainWindow) {
  FakeStartupHost host;
  host.outlookRunning = false;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kDeclined);
  EXPECT_EQ(host.calls.back(), "ask dependency");
  EXPECT_EQ(s.dependOnOE, 1);
}

TEST(StartupDependency, AcceptingSwitchesTheDependencyOff) {
  FakeStartupHost host;
  host.outlookRunning = false;
  host.answerYes = true;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kRun);
  EXPECT_EQ(s.dependOnOE, 0);
  EXPECT_EQ(host.calls.back(), "main window");
}

TEST(StartupDependency, NothingIsAskedWithoutTheDependencyOrWithTheClientRunning) {
  FakeStartupHost noDependency;
  noDependency.outlookRunning = false;
  noDependency.fileDependOnOE = 0;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(noDependency, s), StartupResult::kRun);
  for (const std::string& call : noDependency.calls) EXPECT_NE(call, "ask dependency");

  FakeStartupHost running;
  Settings t = Defaults();
  EXPECT_EQ(RunStartup(running, t), StartupResult::kRun);
  for (const std::string& call : running.calls) EXPECT_NE(call, "ask dependency");
}

TEST(StartupRegistry, EveryUnusableEntryGivesTheRegistryMessageAndTouchesNoFile) {
  struct Case {
    RegistryRead result;
    std::string value;
    bool directoryExists;
  };
  const Case cases[] = {
      {RegistryRead::kNoKey, "", true},
      {RegistryRead::kNoValue, "", true},
      {RegistryRead::kNotString, "", true},
      {RegistryRead::kOk, "", true},
      {RegistryRead::kOk, "uninstall.exe", true},
      {RegistryRead::kOk, "C:\\uninstall.exe", true},
      {RegistryRead::kOk, "\\uninstall.exe", true},
      {RegistryRead::kOk, "D:\\Gone\\uninstall.exe", false},
  };
  for (const Case& c : cases) {
    FakeStartupHost host;
    host.registryResult = c.result;
    host.uninstallString = c.value;
    host.directoryExists = c.directoryExists;
    Settings s = Defaults();
    EXPECT_EQ(RunStartup(host, s), StartupResult::kNotInstalled) << c.value;
    EXPECT_EQ(host.calls.back(), "registry error") << c.value;
    for (const std::string& call : host.calls) EXPECT_NE(call, "load settings") << c.value;
  }
}

TEST(StartupRegistry, InstallDirectoryIsTheTextBeforeTheLastBackslash) {
  std::string dir = "unchanged";
  EXPECT_TRUE(InstallDirectoryFromUninstallString("C:\\Program Files\\Kelvane\\uninstall.exe", dir));
  EXPECT_EQ(dir, "C:\\Program Files\\Kelvane");
  EXPECT_TRUE(InstallDirectoryFromUninstallString("C:\\a\\", dir));
  EXPECT_EQ(dir, "C:\\a");
  EXPECT_TRUE(InstallDirectoryFromUninstallString("\\\\server\\share\\uninstall.exe", dir));
  EXPECT_EQ(dir, "\\\\server\\share");

  dir = "unchanged";
  EXPECT_FALSE(InstallDirectoryFromUninstallString("C:\\uninstall.exe", dir));
  EXPECT_FALSE(InstallDirectoryFromUninstallString("nobackslash", dir));
  EXPECT_FALSE(InstallDirectoryFromUninstallString("", dir));
  EXPECT_EQ(dir, "unchanged");
}

TEST(StartupFailure, AMissingMainWindowEndsTheStart) {
  FakeStartupHost host;
  host.windowCreated = false;
  Settings s = Defaults();
  EXPECT_EQ(RunStartup(host, s), StartupResult::kNoMainWindow);
}

}  // namespace
