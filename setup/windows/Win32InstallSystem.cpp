#include "setup/windows/Win32InstallSystem.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "base/Product.h"
#include "setup/common/windows/ShellFolders.h"
#include "setup/windows/SetupMessages.h"
#include "setup/common/PathText.h"
#include "setup/record/RecordFile.h"
#include "setup/SetupTexts.h"
#include "win32/Com.h"
#include "win32/Registry.h"

bool CreateShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description,
                    const std::string& arguments) {
  ComApartment apartment;
  ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.ReceiveVoid())))
    return false;
  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return false;
  if (FAILED(link->SetPath(targetPath.c_str()))) Messages().Show(nullptr, "SetPath failed!", "", MB_OK);
  link->SetWorkingDirectory(ParentPath(targetPath).c_str());
  if (FAILED(link->SetDescription(description.c_str()))) Messages().Show(nullptr, "SetDescription failed!", "", MB_OK);
  link->SetArguments(arguments.c_str());
  int wideLength = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, nullptr, 0);
  if (wideLength <= 0 || wideLength > MAX_PATH) return false;
  std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
  if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide.data(), wideLength) != wideLength) return false;
  return SUCCEEDED(file->Save(wide.data(), TRUE));
}

Win32InstallSystem::Win32InstallSystem(ArchiveReader& archive, CProgressDialog* progress, HWND owner,
                                       std::string installDir, FileSystem& files)
    : archive_(archive), progress_(progress), owner_(owner), installDir_(std::move(installDir)), files_(files) {}

bool Win32InstallSystem::ExtractEntry(std::size_t index, std::string& reason) {
  // The archive reader's failures end here, at the edge of the run, so that
  // the run can stop before it touches the earlier installation.
  try {
    if (archive_.ExtractEntry(static_cast<int>(index), installDir_, true, 65535)) return true;
    reason = "The file could not be written completely (it may be encrypted, or the disk refused it).";
  } catch (const CZipException& failure) {
    archive_.CloseEntry();
    reason = std::string(CZipException::Meaning(failure.Cause())) + " (cause " + std::to_string(failure.Cause()) + ")";
  }
  return false;
}

bool Win32InstallSystem::ReadRecord(const std::string& installDir, RecordLists& record) {
  std::string path;
  return JoinPath(path, installDir, kUninstallRecordFile) && LoadRecordLists(path.c_str(), false, record);
}

bool Win32InstallSystem::WriteRecord(const std::string& installDir, const RecordLists& record) {
  std::string path;
  return JoinPath(path, installDir, kUninstallRecordFile) && SaveRecordLists(path.c_str(), record);
}

bool Win32InstallSystem::ShellFolder(ShellFolderKind kind, std::string& path) {
  switch (kind) {
    case ShellFolderKind::kStartup:
      return FindShellFolder(HKEY_CURRENT_USER, "Startup", CSIDL_STARTUP, path);
    case ShellFolderKind::kDesktop:
      return FindShellFolder(HKEY_CURRENT_USER, "Desktop", CSIDL_DESKTOPDIRECTORY, path);
    case ShellFolderKind::kFonts:
      return FindShellFolder(HKEY_CURRENT_USER, "Fonts", CSIDL_FONTS, path);
  }
  return false;
}

bool Win32InstallSystem::CreateShortcut(const std::string& targetPath, const std::string& linkPath,
                                        const std::string& description, const std::string& arguments) {
  return ::CreateShortcut(targetPath, linkPath, description, arguments);
}

void Win32InstallSystem::ClearPendingRemoval(const std::string& appName) {
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kRunOnceKey, KEY_SET_VALUE)) return;
  key.DeleteValue((appName + "_DelUninstallExe").c_str());
  key.DeleteValue((appName + "_RmDir").c_str());
}

bool Win32InstallSystem::RegisterUninstaller(const std::string& appName, const std::vector<UninstallValue>& values) {
  RegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, UninstallKeyName(appName), KEY_SET_VALUE)) return false;
  bool written = true;
  for (const UninstallValue& value : values) {
    if (value.isNumber)
      written = key.WriteNumber(value.name.c_str(), value.number) && written;
    else
      written = key.WriteText(value.name.c_str(), value.text) && written;
  }
  return written;
}

bool Win32InstallSystem::RegisterNativeHost(const std::string& name, const std::string& manifestPath) {
  RegistryKey key;
  return key.Create(HKEY_LOCAL_MACHINE, NativeHostKeyName(name), KEY_SET_VALUE) && key.WriteText(nullptr, manifestPath);
}

void Win32InstallSystem::RemoveNativeHost(const std::string& name) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, NativeHostKeyName(name).c_str());
}

void Win32InstallSystem::ShowError(const std::string& text) {
  Messages().Show(owner_, text, SetupMessage::kErrorCaption, MB_OK | MB_ICONWARNING);
}
