#include "uninstall/UninstallRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/FakeFileSystem.h"

namespace {

const char* const kOwnDir = "C:\\Program Files\\Kelvane";

class FakeUninstallSystem : public UninstallSystem {
public:
  FakeFileSystem fs;
  bool windowPresent = false;
  std::string searchedClass, searchedTitle;
  int searches = 0;
  std::vector<std::string> deletedKeys;
  std::string interpreter = "C:\\windows\\system32\\cmd.exe";
  std::map<std::string, std::string> runOnce;
  std::map<std::string, std::string> hostKeys;  // name -> manifest path

  FileSystem& Files() override { return fs; }
  bool WindowExists(const std::string& windowClass, const std::string& windowTitle) override {
    ++searches;
    searchedClass = windowClass;
    searchedTitle = windowTitle;
    return windowPresent;
  }
  void DeleteUninstallKey(const std::string& appName) override { deletedKeys.push_back(appName); }
  bool NativeHostManifest(const std::string& name, std::string& manifestPath) override {
    auto it = hostKeys.find(name);
    if (it == hostKeys.end()) return false;
    manifestPath = it->second;
    return true;
  }
  void DeleteNativeHostKey(const std::string& name) override { hostKeys.erase(name); }
  std::string CommandInterpreter() override { return interpreter; }
  bool SetRunOnce(const std::string& valueName, const std::string& command) override {
    runOnce[valueName] = command;
    return true;
  }
};

std::string Own(const std::string& name) {
  return std::string(kOwnDir) + "\\" + name;
}

RecordLists KelvaneRecord() {
  RecordLists record;
  record.appName = "Kelvane";
  record.files = {"Kelvane.exe", "Kelvstart.exe", "lang.ini", "uninstall.exe"};
  record.shortcuts = {"C:\\Menu\\Kelvane\\Uninstall.lnk", "C:\\Desktop\\Outlook Express with Kelvane.lnk"};
  record.generatedFiles = {"kelvane.cfg", "debug.txt"};
  record.windowTitle = "Kelvane   ";
  return record;
}

void Install(FakeUninstallSystem& system, const RecordLists& record) {
  for (const std::string& name : record.files) system.fs.AddFile(Own(name));
  for (const std::string& link : record.shortcuts) system.fs.AddFile(link);
  system.fs.AddFile(Own("uninstall.dat"));
  system.fs.AddShellFolder("C:\\Desktop");
  system.fs.AddShellFolder("C:\\Menu");
}

}  // namespace

TEST(UninstallRun, RemovesEverythingRecordedAndLeavesTheFolderToRunOnce) {
  FakeUninstallSystem system;
  RecordLists record = KelvaneRecord();
  Install(system, record);
  system.fs.AddFile(Own("kelvane.cfg"));
  system.fs.AddFile("C:\\Menu\\Other.lnk");
  ASSERT_EQ(UninstallResult::kRemoved, RunUninstall(record, kOwnDir, system));
  EXPECT_EQ("", system.searchedClass);
  EXPECT_EQ("Kelvane   ", system.searchedTitle);
  for (const char* name : {"Kelvane.exe", "Kelvstart.exe", "lang.ini", "uninstall.exe", "uninstall.dat", "kelvane.cfg"})
    EXPECT_FALSE(system.fs.Has(Own(name))) << name;
  EXPECT_FALSE(system.fs.Has("C:\\Menu\\Kelvane"));
  EXPECT_FALSE(system.fs.Has("C:\\Desktop\\Outlook Express with Kelvane.lnk"));
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\Other.lnk"));
  EXPECT_TRUE(system.fs.Has(kOwnDir));
  EXPECT_EQ(std::vector<std::string>{"Kelvane"}, system.deletedKeys);
  ASSERT_EQ(2u, system.runOnce.size());
}

TEST(UninstallRun, RunningApplicationStopsItBeforeAnyChange) {
  FakeUninstallSystem system;
  RecordLists record = KelvaneRecord();
  Install(system, record);
  std::size_t before = system.fs.Count();
  system.windowPresent = true;
  EXPECT_EQ(UninstallResult::kApplicationRunning, RunUninstall(record, kOwnDir, system));
  EXPECT_EQ(before, system.fs.Count());
  EXPECT_TRUE(system.deletedKeys.empty());
  EXPECT_TRUE(system.runOnce.empty());
}

TEST(UninstallRun, NoWindowTextsMeansNoRunningCheck) {
  FakeUninstallSystem system;
  RecordLists record = KelvaneRecord();
  record.windowTitle.clear();
  system.windowPresent = true;
  EXPECT_EQ(UninstallResult::kRemoved, RunUninstall(record, kOwnDir, system));
  EXPECT_EQ(0, system.searches);
}

TEST(UninstallDirectories, DeeperFoldersGoFirstAndOnlyFoldersThatHeldFiles) {
  FakeUninstallSystem system;
  RecordLists record;
  record.appName = "Kelvane";
  record.files = {"a\\y.txt", "a\\b\\x.txt", "c\\d\\z.txt", "top.txt"};
  for (const std::string& name : record.files) system.fs.AddFile(Own(name));
  RemovalPlan plan = PlanRemoval(record, kOwnDir, system.fs);
  EXPECT_EQ((std::vector<std::string>{Own("a\\b"), Own("c\\d"), Own("a")}), plan.directories);
  RunUninstall(record, kOwnDir, system);
  EXPECT_FALSE(system.fs.Has(Own("a")));
  EXPECT_FALSE(system.fs.Has(Own("c\\d")));
  EXPECT_TRUE(system.fs.Has(Own("c")));
}

TEST(UninstallDirectories, SameFolderInAnotherCaseIsListedOnce) {
  FakeFileSystem fs;
  RecordLists record;
  record.files = {"Docs\\a.txt", "docs\\b.txt", "docs/"};
  EXPECT_EQ(std::vector<std::string>{Own("Docs")}, PlanRemoval(record, kOwnDir, fs).directories);
  EXPECT_EQ((std::vector<std::string>{Own("Docs\\a.txt"), Own("docs\\b.txt")}), PlanRemoval(record, kOwnDir, fs).files);
}

TEST(UninstallGenerated, FoldersAreEmptiedButDotNamesKeepThem) {
  FakeUninstallSystem system;
  RecordLists record = KelvaneRecord();
  record.generatedFiles = {"cache", "logs"};
  system.fs.AddFile(Own("cache\\one.txt"));
  system.fs.AddFile(Own("cache\\deep\\two.txt"));
  system.fs.AddFile(Own("logs\\today.txt"));
  system.fs.AddFile(Own("logs\\.keep"));
  RunUninstall(record, kOwnDir, system);
  EXPECT_FALSE(system.fs.Has(Own("cache")));
  EXPECT_FALSE(system.fs.Has(Own("logs\\today.txt")));
  EXPECT_TRUE(system.fs.Has(Own("logs\\.keep")));
}

TEST(UninstallGenerated, JunctionsAreNeverEntered) {
  FakeUninstallSystem system;
  system.fs.AddFile("D:\\Data\\precious.txt");
  system.fs.AddLink(Own("cache\\data-link"));
  system.fs.AddLink(Own("linked"));
  RecordLists record = KelvaneRecord();
  record.generatedFiles = {"cache", "linked"};
  record.files.push_back("linked\\precious.txt");
  RunUninstall(record, kOwnDir, system);
  EXPECT_FALSE(system.fs.Has(Own("cache")));
  EXPECT_TRUE(system.fs.Has(Own("linked")));
  EXPECT_TRUE(system.fs.Has("D:\\Data\\precious.txt"));
  for (const std::string& path : system.fs.removed) EXPECT_EQ(std::string::npos, path.find("precious")) << path;
}

TEST(UninstallSafety, NamesOutsideTheInstallationAreNotTouched) {
  FakeUninstallSystem system;
  system.fs.AddFile("C:\\Windows\\win.ini");
  system.fs.AddFile("C:\\Program Files\\other.txt");
  system.fs.AddFile("C:\\Menu\\readme.txt");
  system.fs.AddShellFolder("C:\\Menu\\Programs");
  RecordLists record;
  record.appName = "Kelvane";
  record.files = {"C:\\Windows\\win.ini", "..\\other.txt", "\\Windows\\win.ini", "a\\..\\..\\other.txt"};
  record.generatedFiles = {"..", "C:\\Windows", "..\\"};
  record.shortcuts = {"C:\\Menu\\Programs\\x.lnk", "C:\\Menu\\readme.txt", "relative.lnk"};
  RunUninstall(record, kOwnDir, system);
  EXPECT_TRUE(system.fs.Has("C:\\Windows\\win.ini"));
  EXPECT_TRUE(system.fs.Has("C:\\Program Files\\other.txt"));
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\readme.txt"));
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\Programs"));
}

TEST(UninstallSafety, NestedOrEmptyApplicationNamesTouchNoRegistryKey) {
  for (const char* name : {"", "..\\Other", "Kelvane\\Sub"}) {
    FakeUninstallSystem system;
    RecordLists record = KelvaneRecord();
    record.appName = name;
    RunUninstall(record, kOwnDir, system);
    EXPECT_TRUE(system.deletedKeys.empty()) << name;
    EXPECT_TRUE(system.runOnce.empty()) << name;
  }
}

TEST(UninstallRunOnce, TheFolderCommandDeletesTheUninstallerFirst) {
  std::vector<RunOnceCommand> commands;
  ASSERT_TRUE(MakeRunOnceCommands("Kelvane", "C:\\windows\\system32\\cmd.exe", kOwnDir, commands));
  ASSERT_EQ(2u, commands.size());
  EXPECT_EQ("Kelvane_DelUninstallExe", commands[0].valueName);
  EXPECT_EQ("\"C:\\windows\\system32\\cmd.exe\" /c del \"C:\\Program Files\\Kelvane\\uninstall.exe\"",
            commands[0].command);
  EXPECT_EQ("Kelvane_RmDir", commands[1].valueName);
  EXPECT_EQ(
      "\"C:\\windows\\system32\\cmd.exe\" /c del \"C:\\Program Files\\Kelvane\\uninstall.exe\""
      " & rd \"C:\\Program Files\\Kelvane\"",
      commands[1].command);
}

TEST(UninstallRunOnce, CommandsThatCouldDoSomethingElseAreNotLeft) {
  std::vector<RunOnceCommand> commands;
  EXPECT_FALSE(MakeRunOnceCommands("Kelvane", "", kOwnDir, commands));
  EXPECT_FALSE(MakeRunOnceCommands("Kelvane", "C:\\cmd.exe", "C:\\100%PATH%", commands));
  EXPECT_FALSE(MakeRunOnceCommands("Kelvane", "C:\\cmd.exe", "C:\\" + std::string(250, 'p'), commands));
  EXPECT_FALSE(MakeRunOnceCommands("Kelvane", "C:\\" + std::string(300, 'c') + "\\cmd.exe", kOwnDir, commands));
  EXPECT_TRUE(commands.empty());

  FakeUninstallSystem system;
  system.interpreter.clear();
  EXPECT_EQ(UninstallResult::kRemoved, RunUninstall(KelvaneRecord(), kOwnDir, system));
  EXPECT_TRUE(system.runOnce.empty());
  EXPECT_EQ(std::vector<std::string>{"Kelvane"}, system.deletedKeys);
}

TEST(UninstallNativeHosts, OnlyKeysThatStillNameThisInstallationGo) {
  FakeUninstallSystem system;
  RecordLists record = KelvaneRecord();
  record.files.push_back("org.example.kelvane.json");
  record.nativeHosts = {"org.example.kelvane", "taken.over", "never.made", "bad..name"};
  Install(system, record);
  system.hostKeys = {{"org.example.kelvane", Own("ORG.example.kelvane.json")},
                     {"taken.over", "C:\\Other\\Kelvane\\taken.json"},
                     {"bad..name", Own("x.json")},
                     {"unrecorded", Own("org.example.kelvane.json")}};
  ASSERT_EQ(UninstallResult::kRemoved, RunUninstall(record, kOwnDir, system));
  EXPECT_FALSE(system.fs.Has(Own("org.example.kelvane.json")));
  EXPECT_EQ((std::map<std::string, std::string>{{"taken.over", "C:\\Other\\Kelvane\\taken.json"},
                                                {"bad..name", Own("x.json")},
                                                {"unrecorded", Own("org.example.kelvane.json")}}),
            system.hostKeys);
}
