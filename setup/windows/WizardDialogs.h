// Setup's wizard: the start-up note, the agreement, destination, start-menu
// folder and progress dialogs, on the shared dialog layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/common/windows/Win32FileSystem.h"
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

class CDestinationDialog : public ui::CDialog {
public:
  CDestinationDialog(const std::string& language, const std::string& appName, const std::string& defaultDest,
                     std::uint64_t totalSize);

  std::string installDir;
  std::string previousDir;

protected:
  bool OnInitDialog() override;
  void OnOK() override;

private:
  void ProposePath();

  std::string appName_;
  std::string defaultDest_;
  std::uint64_t totalSize_;
  DestinationTexts texts_;
  bool proposed_ = false;
  Win32FileSystem files_;
};

class CMenuFolderDialog : public ui::CDialog {
public:
  CMenuFolderDialog(const std::string& language, const std::string& appName);

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
  Win32FileSystem files_;
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
