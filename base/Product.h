// Names every program of the product agrees on, and the names of the mail
// client's windows it looks for.  The resource compiler reads this file too:
// it sees only the macros.
#pragma once

#define KELVANE_PRODUCT_NAME "Kelvane"
// The caption of Kelvane's main window, by which the launcher, setup, the
// uninstaller and a second Kelvane find a running one.
#define KELVANE_MAIN_WINDOW_CAPTION KELVANE_PRODUCT_NAME "   "
#define KELVANE_UNINSTALL_KEY_ROOT "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"

#ifndef RC_INVOKED

inline constexpr char kProductName[] = KELVANE_PRODUCT_NAME;
inline constexpr char kMainWindowCaption[] = KELVANE_MAIN_WINDOW_CAPTION;
// The caption of the warnings the programs show.
inline constexpr char kProductErrorCaption[] = KELVANE_PRODUCT_NAME " Error";
// What Kelvane and its launcher say when the uninstaller's registration,
// and with it the installation folder, is missing.
inline constexpr char kRegistryErrorText[] = "Could not find registry information!";

// Below HKEY_LOCAL_MACHINE: setup registers the uninstaller under the root
// followed by the application's name.
inline constexpr char kUninstallKeyRoot[] = KELVANE_UNINSTALL_KEY_ROOT;
inline constexpr char kUninstallKey[] = KELVANE_UNINSTALL_KEY_ROOT KELVANE_PRODUCT_NAME;

// Beside the programs in the installation folder.
inline constexpr char kSettingsFile[] = KELVANE_PRODUCT_NAME ".cfg";
inline constexpr char kUninstallerFile[] = "uninstall.exe";
inline constexpr char kUninstallRecordFile[] = "uninstall.dat";

// The mail client's window classes: its main window (as browser or as news
// store), its message view, a note (composition or message) window, and the
// chain below a note down to the window that serves its HTML document.
inline constexpr char kClientBrowserClass[] = "Outlook Express Browser Class";
inline constexpr char kClientNewsStoreClass[] = "Outlook Express NewsStore";
inline constexpr char kClientMessageViewClass[] = "Outlook Express Message View";
inline constexpr char kClientNoteClass[] = "ATH_NOTE";
inline constexpr char kClientDocHostClass[] = "ME_DocHost";
inline constexpr char kClientMimeEditClass[] = "##MIMEEdit_Server";
inline constexpr char kClientDocumentServerClass[] = "Internet Explorer_Server";

#endif
