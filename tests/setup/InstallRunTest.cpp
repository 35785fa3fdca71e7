#include "setup/InstallRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "setup/common/CreatedFolders.h"
#include "setup/WizardRules.h"
#include "tests/support/FakeFileSystem.h"

namespace {

const char* const kInstall = "C:\\Program Files\\Kelvane";
const char* const kMenu = "C:\\Menu\\Kelvane";

class FakeInstallSystem : public InstallSystem {
public:
  FakeFileSystem fs;
  FileSystem* files = nullptr;  // the run's view of fs, when not fs itself
  std::map<ShellFolderKind, std::string> folders = {{ShellFolderKind::kDesktop, "C:\\Desktop"},
                                                    {ShellFolderKind::kStartup, "C:\\Menu\\Startup"},
                                                    {ShellFolderKind::kFonts, "C:\\Windows\\Fonts"}};
  std::vector<std::string> entryContents;  // what ExtractEntry writes, by index
  std::size_t failAtEntry = SIZE_MAX;
  std::vector<std::string> statuses;
  std::uint64_t progress = 0;
  bool recordWritable = true;
  bool registryWritable = true;
  std::map<std::string, RecordLists> records;  // by installation directory
  std::vector<std::string> shortcutsMade;
  std::vector<std::string> errors;
  std::string registered;
  std::map<std::string, UninstallValue> values;
  std::vector<std::string> clearedRemovals;
  std::map<std::string, std::string> hosts;  // registered name -> manifest path
  std::vector<std::string> hostsRemoved;
  bool hostsWritable = true;
  const InstallRequest* request = nullptr;

  FakeInstallSystem() {
    fs.AddFolder(kMenu);
    fs.AddShellFolder("C:\\Desktop");
    fs.AddShellFolder("C:\\Menu");
    fs.AddShellFolder("C:\\Menu\\Startup");
    fs.AddShellFolder("C:\\Windows\\Fonts");
    fs.AddFolder(kInstall);
  }
  FileSystem& Files() override { return files ? *files : fs; }
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void AdvanceProgress(std::uint64_t bytes) override { progress += bytes; }
  bool ExtractEntry(std::size_t index, std::string& reason) override {
    if (index == failAtEntry) {
      reason = "damaged archive (cause 10)";
      return false;
    }
    std::string path = request->installDir + "\\" + request->entries[index].name;
    if (path.back() == '\\') return true;  // a directory entry: the run made it
    fs.AddFile(path, index < entryContents.size() ? entryContents[index] : "new");
    return true;
  }
  bool ReadRecord(const std::string& dir, RecordLists& record) override {
    auto it = records.find(dir);
    if (it == records.end()) return false;
    record = it->second;
    return true;
  }
  bool WriteRecord(const std::string& dir, const RecordLists& record) override {
    if (!recordWritable) return false;
    records[dir] = record;
    fs.AddFile(dir + "\\uninstall.dat");
    return true;
  }
  bool ShellFolder(ShellFolderKind kind, std::string& path) override {
    auto it = folders.find(kind);
    if (it == folders.end()) return false;
    path = it->second;
    return true;
  }
  bool CreateShortcut(const std::string&, const std::string& linkPath, const std::string&,
                      const std::string&) override {
    shortcutsMade.push_back(linkPath);
    fs.AddFile(linkPath, "link");
    return true;
  }
  void ClearPendingRemoval(const std::string& appName) override { clearedRemovals.push_back(appName); }
  bool RegisterUninstaller(const std::string&, const std::vector<UninstallValue>& written) override {
    if (!registryWritable) return false;
    for (const UninstallValue& value : written) values[value.name] = value;
    registered = values["UninstallString"].text;
    return true;
  }
  bool RegisterNativeHost(const std::string& name, const std::string& manifestPath) override {
    if (!hostsWritable) return false;
    hosts[name] = manifestPath;
    return true;
  }
  void RemoveNativeHost(const std::string& name) override {
    hostsRemoved.push_back(name);
    hosts.erase(name);
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  // An earlier installation of `appName` into kInstall, as its record says.
  void AddEarlierInstallation(const RecordLists& record) {
    for (const std::string& name : record.files) fs.AddFile(std::string(kInstall) + "\\" + name, "old");
    for (const std::string& name : record.generatedFiles) fs.AddFile(std::string(kInstall) + "\\" + name, "old");
    for (const std::string& link : record.shortcuts) fs.AddFile(link, "old link");
    fs.AddFile(std::string(kInstall) + "\\uninstall.dat");
    records[kInstall] = record;
  }
};

InstallRequest KelvaneRequest() {
  InstallRequest request;
  request.appName = "Kelvane";
  request.language = "ENG";
  request.installDir = kInstall;
  request.menuFolder = kMenu;
  request.entries = {{"Kelvane.exe", 100}, {"Kelvstart.exe", 50}, {"lang.ini", 10}, {"uninstall.exe", 40}};
  request.shortcuts = {{"kelvstart.exe", "", "Outlook Express with Kelvane"}, {"uninstall.exe", "", "Uninstall"}};
  request.desktopShortcuts = {{"kelvstart.exe", "", "Outlook Express with Kelvane"}};
  request.generatedFiles = {"kelvane.cfg", "debug.txt"};
  request.windowTitle = "Kelvane   ";
  return request;
}

std::string InInstall(const std::string& name) {
  return std::string(kInstall) + "\\" + name;
}

}  // namespace

TEST(InstallRun, FreshInstallationRecordsWhatItMade) {
  FakeInstallSystem system;
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  InstallOutcome outcome = RunInstallation(request, system);
  ASSERT_EQ(InstallResult::kCompleted, outcome.result);
  EXPECT_EQ(200u, system.progress);
  EXPECT_EQ(InInstall("uninstall.exe"), system.registered);
  const RecordLists& record = system.records[kInstall];
  EXPECT_EQ("Kelvane", record.appName);
  EXPECT_EQ((std::vector<std::string>{"Kelvane.exe", "Kelvstart.exe", "lang.ini", "uninstall.exe"}), record.files);
  EXPECT_EQ(
      (std::vector<std::string>{"C:\\Menu\\Kelvane\\Outlook Express with Kelvane.lnk",
                                "C:\\Menu\\Kelvane\\Uninstall.lnk", "C:\\Desktop\\Outlook Express with Kelvane.lnk"}),
      record.shortcuts);
  EXPECT_EQ((std::vector<std::string>{"kelvane.cfg", "debug.txt"}), record.generatedFiles);
  EXPECT_EQ("Kelvane   ", record.windowTitle);
  EXPECT_EQ(std::vector<std::string>{"Kelvane"}, system.clearedRemovals);
}

TEST(InstallRun, ReinstallKeepsEveryFileTheNewArchiveHolds) {
  FakeInstallSystem system;
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.files = {"KELVANE.EXE", "docs/old.txt", "obsolete.dll", "uninstall.exe"};
  earlier.generatedFiles = {"kelvane.cfg", "Lang.ini"};
  earlier.shortcuts = {"C:\\Menu\\Old\\Kelvane.lnk", "C:\\Desktop\\Kelvane.lnk"};
  system.AddEarlierInstallation(earlier);
  system.fs.AddFile(InInstall("docs\\old.txt"), "old");
  InstallRequest request = KelvaneRequest();
  system.request = &request;

  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_EQ("new", system.fs.Content(InInstall("Kelvane.exe")));
  EXPECT_EQ("new", system.fs.Content(InInstall("lang.ini")));
  EXPECT_EQ("new", system.fs.Content(InInstall("uninstall.exe")));
  EXPECT_FALSE(system.fs.Has(InInstall("obsolete.dll")));
  EXPECT_FALSE(system.fs.Has(InInstall("docs\\old.txt")));
  EXPECT_FALSE(system.fs.Has(InInstall("kelvane.cfg")));
  EXPECT_FALSE(system.fs.Has("C:\\Menu\\Old\\Kelvane.lnk"));
  EXPECT_FALSE(system.fs.Has("C:\\Menu\\Old"));
  EXPECT_FALSE(system.fs.Has("C:\\Desktop\\Kelvane.lnk"));
  EXPECT_TRUE(system.fs.Has("C:\\Desktop"));
  EXPECT_EQ(PathKind::kDirectory, system.fs.Kind(kMenu));
}

TEST(InstallRun, ReinstallIntoTheSameMenuFolderRecreatesIt) {
  FakeInstallSystem system;
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.shortcuts = {"C:\\Menu\\Kelvane\\Uninstall.lnk"};
  system.AddEarlierInstallation(earlier);
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\Kelvane\\Uninstall.lnk"));
  EXPECT_EQ("link", system.fs.Content("C:\\Menu\\Kelvane\\Uninstall.lnk"));
}

TEST(InstallRun, RecordOfAnotherApplicationIsLeftAlone) {
  FakeInstallSystem system;
  RecordLists earlier;
  earlier.appName = "Other";
  earlier.files = {"other.exe"};
  earlier.generatedFiles = {"other.cfg"};
  earlier.shortcuts = {"C:\\Menu\\Other\\Other.lnk"};
  system.AddEarlierInstallation(earlier);
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_TRUE(system.fs.Has(InInstall("other.exe")));
  EXPECT_TRUE(system.fs.Has(InInstall("other.cfg")));
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\Other\\Other.lnk"));
  EXPECT_EQ("Kelvane", system.records[kInstall].appName);
}

TEST(InstallRun, EarlierRecordNamesAreTrustedNowhere) {
  FakeInstallSystem system;
  system.fs.AddFile("C:\\Windows\\system.ini");
  system.fs.AddFile("C:\\Program Files\\victim.txt");
  system.fs.AddFile("C:\\Menu\\notes.txt");
  system.fs.AddFile("C:\\Elsewhere\\target.txt");
  system.fs.AddLink(InInstall("junction"));
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.files = {"C:\\Windows\\system.ini", "..\\victim.txt", "\\Windows\\system.ini", "junction\\target.txt", ""};
  earlier.generatedFiles = {"..\\victim.txt", "C:..\\victim.txt"};
  earlier.shortcuts = {"C:\\Menu\\notes.txt", "C:\\Menu\\x.lnk"};
  system.records[kInstall] = earlier;
  system.fs.AddFile(InInstall("uninstall.dat"));
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_TRUE(system.fs.Has("C:\\Windows\\system.ini"));
  EXPECT_TRUE(system.fs.Has("C:\\Program Files\\victim.txt"));
  EXPECT_TRUE(system.fs.Has("C:\\Menu\\notes.txt"));
  EXPECT_TRUE(system.fs.Has("C:\\Menu"));
}

TEST(InstallRun, ShellFoldersAreNeverRemoved) {
  FakeInstallSystem system;
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.shortcuts = {"C:\\Desktop\\Kelvane.lnk"};
  system.AddEarlierInstallation(earlier);
  InstallRequest request = KelvaneRequest();
  request.desktopShortcuts.clear();
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_FALSE(system.fs.Has("C:\\Desktop\\Kelvane.lnk"));
  EXPECT_TRUE(system.fs.Has("C:\\Desktop"));
  CleanupPlan plan = PlanEarlierCleanup(earlier, {}, kInstall, system.fs);
  EXPECT_EQ("", plan.shortcutFolder);
  earlier.shortcuts = {"C:\\Kelvane.lnk"};
  EXPECT_EQ("", PlanEarlierCleanup(earlier, {}, kInstall, system.fs).shortcutFolder);
}

TEST(InstallRunFailures, AFailedEntryStopsBeforeTheEarlierInstallationIsTouched) {
  FakeInstallSystem system;
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.files = {"obsolete.dll"};
  earlier.generatedFiles = {"kelvane.cfg"};
  system.AddEarlierInstallation(earlier);
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  system.failAtEntry = 2;
  InstallOutcome outcome = RunInstallation(request, system);
  EXPECT_EQ(InstallResult::kEntryFailed, outcome.result);
  EXPECT_EQ("lang.ini", outcome.entryName);
  EXPECT_EQ("damaged archive (cause 10)", outcome.reason);
  EXPECT_TRUE(system.fs.Has(InInstall("obsolete.dll")));
  EXPECT_TRUE(system.fs.Has(InInstall("kelvane.cfg")));
  EXPECT_EQ(earlier.files, system.records[kInstall].files);
  EXPECT_EQ("", system.registered);
  EXPECT_TRUE(system.shortcutsMade.empty());
}

TEST(InstallRunFailures, UnsafeArchiveNamesAreRefusedBeforeAnythingIsWritten) {
  for (const char* bad : {"..\\evil.exe", "C:\\evil.exe", "\\evil.exe", "junction\\evil.exe"}) {
    FakeInstallSystem system;
    system.fs.AddLink(InInstall("junction"));
    InstallRequest request = KelvaneRequest();
    request.entries.push_back({bad, 1});
    system.request = &request;
    std::size_t before = system.fs.Count();
    InstallOutcome outcome = RunInstallation(request, system);
    EXPECT_EQ(InstallResult::kEntryRefused, outcome.result) << bad;
    EXPECT_EQ(bad, outcome.entryName);
    EXPECT_EQ(before, system.fs.Count()) << bad;
  }
}

TEST(InstallRunFailures, RegistryFailureIsNotReportedAsSuccess) {
  FakeInstallSystem system;
  system.registryWritable = false;
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  InstallOutcome outcome = RunInstallation(request, system);
  EXPECT_EQ(InstallResult::kRegistryFailed, outcome.result);
  EXPECT_TRUE(outcome.recordWritten);
}

TEST(InstallRunFailures, UnsavedRecordIsReportedAndTheRunGoesOn) {
  FakeInstallSystem system;
  system.recordWritable = false;
  InstallRequest request = KelvaneRequest();
  system.request = &request;
  InstallOutcome outcome = RunInstallation(request, system);
  EXPECT_EQ(InstallResult::kCompleted, outcome.result);
  EXPECT_EQ(std::vector<std::string>{"Uninstall Information could not be saved!"}, system.errors);
  EXPECT_EQ(InInstall("uninstall.exe"), system.registered);
}

TEST(InstallShortcuts, UnknownFoldersSkipTheirListAndAreNotRecorded) {
  FakeInstallSystem system;
  system.folders.erase(ShellFolderKind::kDesktop);
  InstallRequest request = KelvaneRequest();
  request.shortcuts.clear();
  request.startupShortcuts = {{"kelvane.exe", "", "Kelvane"}};
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_EQ(std::vector<std::string>{"C:\\Menu\\Startup\\Kelvane.lnk"}, system.records[kInstall].shortcuts);
}

TEST(InstallShortcuts, UnsafeTargetsAndDescriptionsAreSkipped) {
  std::vector<ShortcutSpec> list = {{"..\\..\\Windows\\notepad.exe", "", "Notes"},
                                    {"kelvane.exe", "", "..\\..\\Startup\\Kelvane"},
                                    {"kelvane.exe", "-x", "Kelvane"},
                                    {"kelvane.exe", "", std::string(300, 'k')}};
  std::vector<PlannedShortcut> planned = PlanShortcuts(list, kInstall, kMenu);
  ASSERT_EQ(1u, planned.size());
  EXPECT_EQ(InInstall("kelvane.exe"), planned[0].targetPath);
  EXPECT_EQ("C:\\Menu\\Kelvane\\Kelvane.lnk", planned[0].linkPath);
  EXPECT_EQ("-x", planned[0].arguments);
}

TEST(InstallFontsStep, MovesListedFontsIntoTheFontsFolder) {
  FakeInstallSystem system;
  InstallRequest request = KelvaneRequest();
  request.entries.push_back({"mono.ttf", 5});
  request.installFonts = {"mono.ttf", "..\\..\\Windows\\win.ini"};
  system.fs.AddFile("C:\\Windows\\win.ini");
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_TRUE(system.fs.Has("C:\\Windows\\Fonts\\mono.ttf"));
  EXPECT_FALSE(system.fs.Has(InInstall("mono.ttf")));
  EXPECT_TRUE(system.fs.Has("C:\\Windows\\win.ini"));
}

TEST(InstallStatus, GermanStatusLinesForAnyLanguageButEnglish) {
  FakeInstallSystem system;
  InstallRequest request = KelvaneRequest();
  request.language = "FRA";
  system.request = &request;
  RunInstallation(request, system);
  EXPECT_NE(system.statuses.end(),
            std::find(system.statuses.begin(), system.statuses.end(), "Verkn\xFCpfungen erstellen..."));
}

TEST(InstallRunFailures, AStoppedRunLeavesNoFileOrFolderItMade) {
  FakeInstallSystem system;
  CreatedFolders folders(system.fs);
  system.files = &folders;
  system.fs.AddFile("C:\\Data\\keep.txt");
  std::size_t before = system.fs.Count();

  std::string installDir = "C:\\Data\\New Parent\\Level\\Kelvane";
  ASSERT_EQ(DestinationVerdict::kAccept, DecideDestination(installDir, "", 200, folders).verdict);
  std::string menuFolder;
  ASSERT_EQ(MenuFolderVerdict::kAccept, DecideMenuFolder("C:\\Menu", "Kelvane Fresh", folders, menuFolder));
  InstallRequest request = KelvaneRequest();
  request.installDir = installDir;
  request.menuFolder = menuFolder;
  request.entries.push_back({"docs\\", 0});
  request.entries.push_back({"docs\\sub\\guide.txt", 5});
  request.entries.push_back({"damaged.bin", 5});
  system.failAtEntry = request.entries.size() - 1;
  system.request = &request;

  EXPECT_EQ(InstallResult::kEntryFailed, RunInstallation(request, system).result);
  folders.RemoveEmpty();
  EXPECT_FALSE(system.fs.Has("C:\\Data\\New Parent"));
  EXPECT_FALSE(system.fs.Has("C:\\Menu\\Kelvane Fresh"));
  EXPECT_TRUE(system.fs.Has("C:\\Data\\keep.txt"));
  EXPECT_EQ(before, system.fs.Count());
}

TEST(InstallRunFailures, AStoppedReinstallKeepsTheEarlierFilesAndFolders) {
  FakeInstallSystem system;
  CreatedFolders folders(system.fs);
  system.files = &folders;
  RecordLists earlier;
  earlier.appName = "Kelvane";
  earlier.files = {"Kelvane.exe", "old\\notes.txt"};
  system.AddEarlierInstallation(earlier);
  InstallRequest request = KelvaneRequest();
  request.entries.insert(request.entries.begin(), {"new\\added.txt", 1});
  system.failAtEntry = 3;
  system.request = &request;
  EXPECT_EQ(InstallResult::kEntryFailed, RunInstallation(request, system).result);
  folders.RemoveEmpty();
  EXPECT_FALSE(system.fs.Has(InInstall("new")));
  EXPECT_TRUE(system.fs.Has(InInstall("Kelvane.exe")));  // replaced, not taken
  EXPECT_TRUE(system.fs.Has(InInstall("old\\notes.txt")));
  EXPECT_TRUE(system.fs.Has(InInstall("uninstall.dat")));
  EXPECT_TRUE(system.fs.Has(kMenu));
}

TEST(InstallRegistry, UninstallEntryDescribesTheInstallationFully) {
  FakeInstallSystem system;
  InstallRequest request = KelvaneRequest();
  request.entries.push_back({"big.bin", 2048});  // 2248 bytes in all
  request.publisher = "Orrin Vale";
  request.displayVersion = "1.15.5";
  request.displayIcon = "Kelvane.exe";
  request.urlInfoAbout = "http://www.example.org";
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  auto text = [&](const char* name) { return system.values.count(name) ? system.values[name].text : "<none>"; };
  auto number = [&](const char* name) { return system.values.count(name) ? system.values[name].number : 999u; };
  EXPECT_EQ("Kelvane", text("DisplayName"));
  EXPECT_EQ(InInstall("uninstall.exe"), text("UninstallString"));
  EXPECT_EQ("\"C:\\Program Files\\Kelvane\\uninstall.exe\" /S", text("QuietUninstallString"));
  EXPECT_EQ(kInstall, text("InstallLocation"));
  EXPECT_EQ(InInstall("Kelvane.exe") + ",0", text("DisplayIcon"));
  EXPECT_EQ("1.15.5", text("DisplayVersion"));
  EXPECT_EQ("Orrin Vale", text("Publisher"));
  EXPECT_EQ("http://www.example.org", text("URLInfoAbout"));
  EXPECT_EQ(3u, number("EstimatedSize"));  // kilobytes, rounded up
  EXPECT_TRUE(system.values["EstimatedSize"].isNumber);
  EXPECT_EQ(1u, number("NoModify"));
  EXPECT_EQ(1u, number("NoRepair"));

  // Details the script does not give are left out, and so is an icon that
  // would lie outside the installation.
  request.publisher.clear();
  request.displayVersion.clear();
  request.urlInfoAbout.clear();
  request.displayIcon = "..\\..\\Windows\\explorer.exe";
  std::vector<UninstallValue> values = MakeUninstallValues(request);
  for (const UninstallValue& value : values)
    for (const char* absent : {"Publisher", "DisplayVersion", "URLInfoAbout", "DisplayIcon"})
      EXPECT_NE(absent, value.name);
  EXPECT_EQ(7u, values.size());
}

TEST(InstallNativeHosts, RegisteredWhenTheirManifestIsInstalledAndRecordedForRemoval) {
  FakeInstallSystem system;
  InstallRequest request = KelvaneRequest();
  request.entries.push_back({"org.example.kelvane.json", 5});
  request.entries.push_back({"sub\\b.json", 5});
  request.nativeHosts = {{"org.example.kelvane", "org.example.kelvane.json"},
                         {"nested.host", "sub\\b.json"},
                         {"missing.manifest", "absent.json"},
                         {"bad..name", "org.example.kelvane.json"},
                         {"bad\\key", "org.example.kelvane.json"},
                         {"outside", "..\\org.example.kelvane.json"}};
  system.request = &request;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(request, system).result);
  EXPECT_EQ((std::map<std::string, std::string>{{"org.example.kelvane", InInstall("org.example.kelvane.json")},
                                                {"nested.host", InInstall("sub\\b.json")}}),
            system.hosts);
  EXPECT_EQ((std::vector<std::string>{"org.example.kelvane", "nested.host"}), system.records[kInstall].nativeHosts);

  // Installed again by a package that registers only the first: the other
  // goes, the first is registered afresh; a host that fails is reported.
  request.nativeHosts.resize(1);
  system.hostsWritable = false;
  EXPECT_EQ(InstallResult::kHostFailed, RunInstallation(request, system).result);
  EXPECT_EQ(std::vector<std::string>{"nested.host"}, system.hostsRemoved);
  EXPECT_EQ(std::vector<std::string>{"org.example.kelvane"}, system.records[kInstall].nativeHosts);

  // Without hosts nothing is registered, removed or recorded.
  FakeInstallSystem plain;
  InstallRequest none = KelvaneRequest();
  plain.request = &none;
  ASSERT_EQ(InstallResult::kCompleted, RunInstallation(none, plain).result);
  EXPECT_TRUE(plain.hosts.empty() && plain.hostsRemoved.empty() && plain.records[kInstall].nativeHosts.empty());
}
