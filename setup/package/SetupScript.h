// The parsed setup script: what to install, which shortcuts, fonts and
// generated files to handle, and how to detect the running application.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ShortcutEntry {
  std::string target;       // file the shortcut starts, relative to the installation directory
  std::string arguments;    // command-line arguments, empty if none
  std::string description;  // description, and with ".lnk" the shortcut's file name
  std::string linkPath;     // full path of the shortcut file, filled in when it is created
};

// A native messaging host for Mozilla's mail client and browser: its name,
// which is also its registry key's, and its manifest, an installed file
// relative to the installation directory.
struct NativeHostEntry {
  std::string name;
  std::string manifest;
};

struct SetupScript {
  std::string AppName = "Application";
  std::vector<ShortcutEntry> Shortcuts;
  std::vector<ShortcutEntry> StartupShortcuts;
  std::vector<ShortcutEntry> DesktopShortcuts;
  std::vector<std::string> GeneratedFiles;
  std::string Language = "ENG";
  std::vector<std::string> InstallFonts;
  std::string DefaultDest = "ProgramFiles";
  std::string Agreement;
  std::string RunningCheckWindowClass;
  std::string RunningCheckWindowTitle;
  // The Add/Remove Programs entry's details; absent, they are not written.
  std::string Publisher;
  std::string DisplayVersion;
  std::string DisplayIcon;  // an installed file, relative to the installation directory
  std::string URLInfoAbout;
  // Registered for every user; absent, nothing is registered.
  std::vector<NativeHostEntry> NativeMessagingHosts;
};

// Reads every section of a script text; sections that are absent or cut
// short keep their defaults.
SetupScript ParseSetupScript(std::string_view text);

// The four reading rules, each given the script text and a section header.
// They report whether the section was found with content to read.
bool ReadScriptValue(std::string_view text, std::string_view header, std::string& value);
bool ReadScriptList(std::string_view text, std::string_view header, std::vector<std::string>& list);
bool ReadScriptPairList(std::string_view text, std::string_view header, std::vector<ShortcutEntry>& list);
bool ReadScriptBlock(std::string_view text, std::string_view header, std::string& block);

// A list whose lines alternate a host's name and its manifest; a name left
// without its manifest line at the end is dropped.
bool ReadScriptHostList(std::string_view text, std::string_view header, std::vector<NativeHostEntry>& list);

// Splits a shortcut's target line into target and arguments: the arguments
// follow the first blank after the first '.', if there is one.
void SplitShortcutTarget(std::string_view line, ShortcutEntry& entry);
