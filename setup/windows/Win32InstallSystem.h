// The installation run's platform: the progress dialog, the archive reader,
// shortcuts, the record file and the registry.
#pragma once

#include <windows.h>

#include <string>

#include "setup/archive/ArchiveReader.h"
#include "setup/common/FileSystem.h"
#include "setup/windows/WizardDialogs.h"
#include "setup/InstallRun.h"

// Creates one shortcut file through the shell's link object; the result is
// that of saving it.
bool CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description,
                    const std::string& arguments);

class Win32InstallSystem : public InstallSystem {
public:
  // Without a progress dialog (a silent run) the steps go unseen.
  Win32InstallSystem(ArchiveReader& archive, CProgressDialog* progress, HWND owner, std::string installDir,
                     FileSystem& files);

  FileSystem& Files() override { return files_; }
  void ShowStatus(const std::string& text) override {
    if (progress_) progress_->SetStatus(text);
  }
  void AdvanceProgress(std::uint64_t bytes) override {
    if (progress_) progress_->Advance(bytes);
  }
  bool ExtractEntry(std::size_t index, std::string& reason) override;
  bool ReadRecord(const std::string& installDir, RecordLists& record) override;
  bool WriteRecord(const std::string& installDir, const RecordLists& record) override;
  bool ShellFolder(ShellFolderKind kind, std::string& path) override;
  bool CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description,
                      const std::string& arguments) override;
  void ClearPendingRemoval(const std::string& appName) override;
  bool RegisterUninstaller(const std::string& appName, const std::vector<UninstallValue>& values) override;
  bool RegisterNativeHost(const std::string& name, const std::string& manifestPath) override;
  void RemoveNativeHost(const std::string& name) override;
  void ShowError(const std::string& text) override;

private:
  ArchiveReader& archive_;
  CProgressDialog* progress_;
  HWND owner_;
  std::string installDir_;
  FileSystem& files_;
};
