// The installation run's platform: the progress dialog, the archive reader,
// shortcuts, the record file and the registry.
#pragma once

#include <windows.h>

#include <string>

#include "setup/archive/ArchiveReader.h"
#include "setup/common/windows/Win32FileSystem.h"
#include "setup/windows/WizardDialogs.h"
#include "setup/InstallRun.h"

// Creates one shortcut file through the shell's link object; the result is
// that of saving it.
bool CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description,
                    const std::string& arguments);

class Win32InstallSystem : public InstallSystem {
public:
  Win32InstallSystem(ArchiveReader& archive, CProgressDialog& progress, HWND owner, std::string installDir);

  FileSystem& Files() override { return files_; }
  void ShowStatus(const std::string& text) override { progress_.SetStatus(text); }
  void AdvanceProgress(std::uint64_t bytes) override { progress_.Advance(bytes); }
  bool ExtractEntry(std::size_t index, std::string& reason) override;
  bool ReadRecord(const std::string& installDir, RecordLists& record) override;
  bool WriteRecord(const std::string& installDir, const RecordLists& record) override;
  bool ShellFolder(ShellFolderKind kind, std::string& path) override;
  bool CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description,
                      const std::string& arguments) override;
  void ClearPendingRemoval(const std::string& appName) override;
  bool RegisterUninstaller(const std::string& appName, const std::string& uninstallString) override;
  void ShowError(const std::string& text) override;

private:
  ArchiveReader& archive_;
  CProgressDialog& progress_;
  HWND owner_;
  std::string installDir_;
  Win32FileSystem files_;
};
