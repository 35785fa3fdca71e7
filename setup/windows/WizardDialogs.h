// Setup's wizard: the start-up note, the agreement, destination, start-menu
// folder and progress dialogs, on the shared dialog layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/common/FileSystem.h"
#include "setup/SetupTexts.h"
#include "ui/windows/Controls.h"
#include "ui/windows/Dialog.h"
#include "win32/Handles.h"

class CStartupNote : public ui::CDialog {
public:
  CStartupNote();
};

class CAgreementDialog : public ui::CDialog {
public:
  CAgreementDialog(const std::string& language, const std::string& agreement);

protected:
  bool OnInitDialog() override;

private:
  AgreementTexts texts_;
  std::string agreement_;
  UniqueFont font_;
};

// The destination setup proposes: an earlier installation's folder (then
// also previousDir), else the default folder below DefaultDest.
std::string ProposeDestination(const std::string& appName, const std::string& defaultDest, std::string& previousDir);

// The start menu's programs folder of the current user or of all users,
// without a trailing backslash; empty when unknown.
std::string MenuRootFolder(bool allUsers);

class CDestinationDialog : public ui::CDialog {
public:
  // The folders the dialog creates are made through files.
  CDestinationDialog(const std::string& language, const std::string& appName, const std::string& defaultDest,
                     std::uint64_t totalSize, FileSystem& files);

  std::string installDir;
  std::string previousDir;

protected:
  bool OnInitDialog() override;
  void OnOK() override;

private:
  std::string appName_;
  std::string defaultDest_;
  std::uint64_t totalSize_;
  DestinationTexts texts_;
  bool proposed_ = false;
  FileSystem& files_;
};

class CMenuFolderDialog : public ui::CDialog {
public:
  CMenuFolderDialog(const std::string& language, const std::string& appName, FileSystem& files);

  std::string menuFolder;

protected:
  bool OnInitDialog() override;
  bool OnCommand(WORD code, WORD id, HWND control) override;
  void OnOK() override;

private:
  void LoadRoot();
  void ListFolder(const std::string& folder);

  std::string appName_;
  MenuFolderTexts texts_;
  std::string rootFolder_;
  std::string currentFolder_;
  FileSystem& files_;
};

class CProgressDialog : public ui::CDialog {
public:
  explicit CProgressDialog(const std::string& language);

  // The range is kept within 32 bits by scaling large totals down.
  void SetTotal(std::uint64_t totalSize);
  void Advance(std::uint64_t bytes);
  void SetStatus(const std::string& text);

protected:
  bool OnInitDialog() override;

private:
  ProgressTexts texts_;
  std::uint64_t done_ = 0;
  unsigned shift_ = 0;
};

// Lets the system draw what changed while the installation holds the thread.
void PumpPendingMessages();
