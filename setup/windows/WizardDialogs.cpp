#include "setup/windows/WizardDialogs.h"

#include <shlobj.h>

#include "setup/windows/SetupResources.h"
#include "setup/common/windows/ShellFolders.h"
#include "setup/common/PathText.h"
#include "setup/WizardRules.h"
#include "win32/Registry.h"

namespace {

// Longest text the destination and the folder name fields take.
constexpr WPARAM kFieldLimit = MAX_PATH - 1;

}  // namespace

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

CStartupNote::CStartupNote() : CDialog(IDD_NOTE) {}

CAgreementDialog::CAgreementDialog(const std::string& language, const std::string& agreement)
    : CDialog(IDD_AGREEMENT), texts_(MakeAgreementTexts(language)), agreement_(agreement) {}

bool CAgreementDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetText(texts_.title);
  SetItemText(IDC_AGREEMENT_QUESTION, texts_.question);
  SetItemText(IDOK, texts_.yesButton);
  SetItemText(IDCANCEL, texts_.noButton);
  font_.Reset(CreateFontA(14, 7, 0, 0, FW_MEDIUM, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
  ui::CWindow text(GetItem(IDC_AGREEMENT_TEXT));
  if (font_) text.SetFont(font_.Get());
  text.SetText(agreement_);
  ui::CWindow(GetItem(IDOK)).SetFocus();
  return false;
}

std::string ProposeDestination(const std::string& appName, const std::string& defaultDest, std::string& previousDir) {
  // An earlier installation proposes its own folder, so that installing
  // again replaces it in place.
  std::string uninstallString;
  if (IsSafeKeyName(appName) &&
      ReadRegistryText(HKEY_LOCAL_MACHINE, UninstallKeyName(appName), "UninstallString", uninstallString)) {
    std::string folder = ParentPath(uninstallString);
    if (!folder.empty()) {
      previousDir = folder;
      return folder;
    }
  }
  previousDir.clear();
  std::string base;
  bool known = false;
  if (defaultDest == "ProgramFiles")
    known =
        ReadRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", base);
  else
    known = ReadShellFolder(HKEY_CURRENT_USER, defaultDest.c_str(), base);
  if (!known || base.empty()) {
    char buffer[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, buffer))) base = buffer;
  }
  std::string proposal;
  if (!base.empty() && JoinPath(proposal, base, appName)) return proposal;
  return std::string();
}

std::string MenuRootFolder(bool allUsers) {
  std::string root;
  if (allUsers)
    FindShellFolder(HKEY_LOCAL_MACHINE, "Common Programs", CSIDL_COMMON_PROGRAMS, root);
  else
    FindShellFolder(HKEY_CURRENT_USER, "Programs", CSIDL_PROGRAMS, root);
  while (root.size() > 3 && root.back() == '\\') root.pop_back();
  return root;
}

CDestinationDialog::CDestinationDialog(const std::string& language, const std::string& appName,
                                       const std::string& defaultDest, std::uint64_t totalSize, FileSystem& files)
    : CDialog(IDD_DESTINATION),
      appName_(appName),
      defaultDest_(defaultDest),
      totalSize_(totalSize),
      texts_(MakeDestinationTexts(language, appName)),
      files_(files) {}

bool CDestinationDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetText(texts_.title);
  SetItemText(IDC_DEST_INTRO, texts_.intro);
  SetItemText(IDC_DEST_GROUP, texts_.group);
  SetItemText(IDCANCEL, texts_.exitButton);
  SetItemText(IDOK, texts_.okButton);
  // Back from the start-menu folder dialog keeps what the user chose.
  if (!proposed_) {
    std::string proposal = ProposeDestination(appName_, defaultDest_, previousDir);
    // A destination given on the command line is shown instead.
    if (installDir.empty()) installDir = proposal;
  }
  proposed_ = true;
  ui::CWindow path(GetItem(IDC_DEST_PATH));
  path.Send(EM_LIMITTEXT, kFieldLimit);
  path.SetText(installDir);
  return true;
}

void CDestinationDialog::OnOK() {
  std::string chosen = GetItemText(IDC_DEST_PATH);
  DestinationDecision decision = DecideDestination(chosen, previousDir, totalSize_, files_);
  const char* const caption = SetupMessage::kErrorCaption;
  switch (decision.verdict) {
    case DestinationVerdict::kInvalid:
      ShowMessage(SetupMessage::kInvalidDestination, caption, MB_OK);
      return;
    case DestinationVerdict::kNoSpace:
      ShowMessage(FormatNoSpaceMessage(decision.missingKilobytes, decision.drive), caption, MB_OK | MB_ICONWARNING);
      return;
    case DestinationVerdict::kSpaceUnknown:
      ShowMessage(SetupMessage::kSpaceUnknown, caption, MB_OK | MB_ICONWARNING);
      return;
    case DestinationVerdict::kCannotCreate:
      ShowMessage(SetupMessage::kCannotCreate, caption, MB_OK | MB_ICONWARNING);
      return;
    case DestinationVerdict::kFileExists:
      ShowMessage(SetupMessage::kFileExists, caption, MB_OK | MB_ICONWARNING);
      return;
    case DestinationVerdict::kAskExisting:
      if (ShowMessage(SetupMessage::kDirectoryExists, SetupMessage::kWarningCaption, MB_YESNO | MB_ICONWARNING) !=
          IDYES)
        return;
      break;
    case DestinationVerdict::kAccept:
      break;
  }
  installDir = chosen;
  EndDialog(IDOK);
}

CMenuFolderDialog::CMenuFolderDialog(const std::string& language, const std::string& appName, FileSystem& files)
    : CDialog(IDD_MENU_FOLDER), appName_(appName), texts_(MakeMenuFolderTexts(language, appName)), files_(files) {}

bool CMenuFolderDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetText(texts_.title);
  SetItemText(IDC_MENU_INTRO, texts_.intro);
  SetItemText(IDC_MENU_LABEL, texts_.label);
  SetItemText(IDCANCEL, texts_.backButton);
  SetItemText(IDOK, texts_.okButton);
  ui::CWindow(GetItem(IDC_MENU_NAME)).Send(EM_LIMITTEXT, kFieldLimit);
  ui::CComboBox roots(GetItem(IDC_MENU_ROOT));
  roots.AddString(texts_.allUsers);
  roots.AddString(texts_.currentUser);
  roots.SetCurSel(1);
  LoadRoot();
  return true;
}

void CMenuFolderDialog::LoadRoot() {
  rootFolder_ = MenuRootFolder(ui::CComboBox(GetItem(IDC_MENU_ROOT)).GetCurSel() == 0);
  ListFolder(rootFolder_);
  SetItemText(IDC_MENU_NAME, appName_);
}

void CMenuFolderDialog::ListFolder(const std::string& folder) {
  ui::CListBox list(GetItem(IDC_MENU_LIST));
  list.ResetContent();
  currentFolder_ = folder;
  if (folder.empty()) return;
  for (const DirectoryItem& item : files_.ListFolder(folder))
    if (item.isDirectory && !item.name.empty() && item.name[0] != '.') list.AddString(item.name);
  if (currentFolder_ != rootFolder_) list.AddString("..");
}

bool CMenuFolderDialog::OnCommand(WORD code, WORD id, HWND) {
  if (id == IDC_MENU_ROOT && code == CBN_SELCHANGE) {
    LoadRoot();
    return true;
  }
  if (id == IDC_MENU_LIST && code == LBN_DBLCLK) {
    ui::CListBox list(GetItem(IDC_MENU_LIST));
    int selected = list.GetCurSel();
    if (selected < 0 || currentFolder_.empty()) return true;
    std::string next = EnterMenuFolder(currentFolder_, list.GetItemText(selected));
    // The list never climbs above the start menu it shows.
    if (next != rootFolder_ && !IsInsideDirectory(next, rootFolder_)) return true;
    SetItemText(IDC_MENU_NAME, MenuNameFor(rootFolder_, next, appName_));
    ListFolder(next);
    return true;
  }
  return false;
}

void CMenuFolderDialog::OnOK() {
  if (rootFolder_.empty()) {
    ShowMessage(SetupMessage::kMenuPathNotFound, SetupMessage::kErrorCaption, MB_OK);
    return;
  }
  std::string chosen;
  switch (DecideMenuFolder(rootFolder_, GetItemText(IDC_MENU_NAME), files_, chosen)) {
    case MenuFolderVerdict::kInvalidName:
      ShowMessage(SetupMessage::kMenuInvalidName, SetupMessage::kErrorCaption, MB_OK);
      return;
    case MenuFolderVerdict::kPathNotFound:
      ShowMessage(SetupMessage::kMenuPathNotFound, SetupMessage::kErrorCaption, MB_OK);
      return;
    case MenuFolderVerdict::kFileExists:
      ShowMessage(SetupMessage::kFileExists, SetupMessage::kErrorCaption, MB_OK);
      return;
    case MenuFolderVerdict::kAccept:
      break;
  }
  menuFolder = chosen;
  EndDialog(IDOK);
}

CProgressDialog::CProgressDialog(const std::string& language)
    : CDialog(IDD_PROGRESS), texts_(MakeProgressTexts(language)) {}

bool CProgressDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetText(texts_.title);
  SetItemText(IDC_PROGRESS_CURRENT, texts_.currentGroup);
  SetItemText(IDC_PROGRESS_GROUP, texts_.progressGroup);
  SetItemText(IDC_PROGRESS_WAIT, texts_.pleaseWait);
  return true;
}

void CProgressDialog::SetTotal(std::uint64_t totalSize) {
  shift_ = 0;
  while ((totalSize >> shift_) > 0x7FFFFFFFu) ++shift_;
  done_ = 0;
  ui::CProgressBar bar(GetItem(IDC_PROGRESS_BAR));
  bar.SetRange(0, static_cast<int>(totalSize >> shift_));
  bar.SetPos(0);
}

void CProgressDialog::Advance(std::uint64_t bytes) {
  done_ += bytes;
  ui::CProgressBar(GetItem(IDC_PROGRESS_BAR)).SetPos(static_cast<int>(done_ >> shift_));
  PumpPendingMessages();
}

void CProgressDialog::SetStatus(const std::string& text) {
  SetItemText(IDC_PROGRESS_STATUS, text);
  ui::CWindow(GetItem(IDC_PROGRESS_STATUS)).Update();
  PumpPendingMessages();
}
