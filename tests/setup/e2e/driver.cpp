// Drives setup, the uninstaller and the launcher under Wine the way a user
// would: it finds each dialog by its caption, fills fields, presses buttons,
// and checks what the programs left on disk and in the registry.  Copied to
// "msimn.exe" or "kelvane.exe" it plays the mail client or the main program
// for the launcher's test.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/common/PathText.h"
#include "setup/record/RecordFile.h"
#include "win32/Com.h"
#include "win32/Registry.h"

namespace {

int failures = 0;

void Check(bool condition, const std::string& what) {
  std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!condition) ++failures;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool SamePath(const std::string& a, const std::string& b) {
  return Lower(a) == Lower(b);
}

// --- windows and dialogs -------------------------------------------------

HWND WaitWindow(const char* windowClass, const std::string& title, int milliseconds) {
  for (int waited = 0; waited <= milliseconds; waited += 50) {
    HWND found = FindWindowA(windowClass, title.c_str());
    if (found && IsWindowVisible(found)) return found;
    Sleep(50);
  }
  return nullptr;
}

HWND WaitDialog(const std::string& title, int milliseconds = 20000) {
  return WaitWindow("#32770", title, milliseconds);
}

std::string ItemText(HWND dialog, int id) {
  char text[2048] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::string MessageText(HWND box) {
  return ItemText(box, 0xFFFF);
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SetItem(HWND dialog, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool WaitGone(HWND window, int milliseconds) {
  for (int waited = 0; waited <= milliseconds; waited += 50) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    Sleep(50);
  }
  return false;
}

// Answers a message box with the given caption and checks its text.
bool AnswerBox(const std::string& caption, const std::string& expected, int button, int milliseconds = 20000) {
  HWND box = WaitDialog(caption, milliseconds);
  if (!box) {
    Check(false, "message box \"" + caption + "\" appears");
    return false;
  }
  std::string text = MessageText(box);
  Check(text == expected, "message \"" + caption + "\" reads \"" + text + "\"");
  Press(box, button);
  WaitGone(box, 5000);
  return true;
}

// Saves what the screen shows of a window as a 24-bit BMP file.
void Capture(HWND window, const std::string& path) {
  if (path.empty() || path == "-") return;
  Sleep(400);  // let it finish painting
  RECT r{};
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + size;
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::printf("shot: %s\n", path.c_str());
}

// --- processes -----------------------------------------------------------

HANDLE Start(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    Check(false, "start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

DWORD WaitExit(HANDLE process, int milliseconds) {
  if (!process) return 999;
  DWORD code = 999;
  if (WaitForSingleObject(process, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0)
    GetExitCodeProcess(process, &code);
  else
    TerminateProcess(process, 998);
  CloseHandle(process);
  return code;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadValue(HKEY root, const std::string& key, const char* name) {
  RegistryKey handle;
  if (!handle.Open(root, key, KEY_QUERY_VALUE)) return "<no key>";
  // Read here rather than with RegistryKey's readers, which terminate the
  // text themselves: the stored value must carry its own zero.
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1, type = 0;
  LONG result = RegQueryValueExA(handle.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS) return "<no value>";
  if (type != REG_SZ) return "<not a string>";
  // The value's length counts its terminating zero.
  if (size == 0 || buffer[size - 1] != '\0') return "<unterminated>";
  return buffer;
}

// Spelt out: where setup registers is what this test checks.
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvane";

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// --- Thunderbird's native messaging host ---------------------------------------

const char* const kHostKey = "SOFTWARE\\Mozilla\\NativeMessagingHosts\\org.example.kelvane";

std::string FileText(const std::string& path) {
  std::string text;
  if (FILE* in = std::fopen(path.c_str(), "rb")) {
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, got);
    std::fclose(in);
  }
  return text;
}

// The manifest's "path" member; the manifest is ours and plain, so no JSON
// escapes are expected in it.
std::string ManifestPath(const std::string& manifest) {
  std::size_t at = manifest.find("\"path\"");
  if (at == std::string::npos) return std::string();
  std::size_t open = manifest.find('"', manifest.find(':', at) + 1);
  std::size_t close = open == std::string::npos ? open : manifest.find('"', open + 1);
  return close == std::string::npos ? std::string() : manifest.substr(open + 1, close - open - 1);
}

// Starts the host as Thunderbird does, with the manifest's path and the
// add-on's id as arguments, sends one framed request and closes its input;
// the host answers and then ends.  Returns the bytes it wrote.
std::string AskHost(const std::string& host, const std::string& manifest, const std::string& request, DWORD& exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE inRead, inWrite, outRead, outWrite;
  if (!CreatePipe(&inRead, &inWrite, &inherit, 0) || !CreatePipe(&outRead, &outWrite, &inherit, 0)) return "";
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + host + "\" \"" + manifest + "\" kelvane@example.org";
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                &startup, &process);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  std::string reply;
  if (started) {
    std::uint32_t length = static_cast<std::uint32_t>(request.size());
    std::string frame(reinterpret_cast<const char*>(&length), 4);
    frame += request;
    DWORD written = 0;
    WriteFile(inWrite, frame.data(), static_cast<DWORD>(frame.size()), &written, nullptr);
    CloseHandle(inWrite);
    inWrite = nullptr;
    // The reply fits the pipe's buffer, so the host can end before it is read.
    exitCode = WaitExit(process.hProcess, 20000);
    CloseHandle(process.hThread);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(outRead, chunk, sizeof chunk, &got, nullptr) && got > 0) reply.append(chunk, got);
  } else {
    Check(false, "start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
  }
  if (inWrite) CloseHandle(inWrite);
  CloseHandle(outRead);
  return reply;
}

// The host's key names the installed manifest, and the host it names answers
// a framed ping.
void CheckNativeHost(const std::string& installDir) {
  std::string manifest = ReadValue(HKEY_LOCAL_MACHINE, kHostKey, nullptr);
  Check(SamePath(manifest, installDir + "\\org.example.kelvane.json"), "host key names the manifest: " + manifest);
  std::string relative = ManifestPath(FileText(manifest));
  Check(relative == "kelvane-host.exe", "manifest names the host beside it: " + relative);
  std::string host = ParentPath(manifest) + "\\" + relative;
  Check(Exists(host), host + " exists");
  DWORD code = 999;
  std::string reply = AskHost(host, manifest, "{\"version\": 1, \"id\": 1, \"type\": \"ping\"}", code);
  Check(code == 0, "host ends with 0 at the end of its input (exit " + std::to_string(code) + ")");
  std::uint32_t length = 0;
  if (reply.size() >= 4) std::memcpy(&length, reply.data(), 4);
  Check(reply.size() >= 4 && length == reply.size() - 4,
        "host answers one frame (" + std::to_string(reply.size()) + " bytes, length " + std::to_string(length) + ")");
  std::string json;
  for (char c : reply.size() >= 4 ? reply.substr(4) : std::string())
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') json += c;
  Check(json.find("\"ok\":true") != std::string::npos && json.find("\"id\":1") != std::string::npos &&
            json.find("\"program\":\"kelvane-host") != std::string::npos,
        "host answers the ping: " + json);
}

// --- the setup wizard ------------------------------------------------------

struct WizardTitles {
  std::string agreement, question, destination, menu, progress, completeCaption, completeText;
};

WizardTitles TitlesFor(const std::string& language) {
  if (language == "GER")
    return {"Vereinbarung",
            "Akzeptieren Sie die obengenannten Bedingungen?",
            "Zielverzeichnis w\xE4hlen",
            "Startmen\xFC"
            "verzeichnis w\xE4hlen",
            "Installation",
            "Installation beendet",
            "Kelvane wurde erfolgreich installiert!"};
  return {"Agreement",
          "Do you accept the terms stated above?",
          "Destination Directory",
          "Start Menu Folder",
          "Installing",
          "Installation Complete",
          "Kelvane is now installed on your computer.\nUse the start menu to run the application.\n"};
}

// wizard SETUP INSTALLDIR LANG SHOTPREFIX AGREEMENT(none|accept|refuse)
int Wizard(const std::string& setup, const std::string& installDir, const std::string& language,
           const std::string& shots, const std::string& agreement) {
  WizardTitles titles = TitlesFor(language);
  auto shot = [&](const std::string& name) { return shots == "-" ? std::string("-") : shots + name + ".bmp"; };
  HANDLE process = Start("\"" + setup + "\"");
  if (agreement != "none") {
    HWND dialog = WaitDialog(titles.agreement);
    Check(dialog != nullptr, "agreement dialog \"" + titles.agreement + "\" appears");
    if (!dialog) return WaitExit(process, 1000), 1;
    Check(ItemText(dialog, 1002) == titles.question, "agreement question reads \"" + ItemText(dialog, 1002) + "\"");
    Check(ItemText(dialog, 1001).find("terms") != std::string::npos, "agreement shows the script's text");
    Capture(dialog, shot("agreement"));
    if (agreement == "refuse") {
      Press(dialog, IDCANCEL);
      DWORD code = WaitExit(process, 20000);
      Check(code == 1, "setup ends after the agreement is refused (exit " + std::to_string(code) + ")");
      Check(!WaitDialog(titles.destination, 500), "no destination dialog after refusing");
      Check(!Exists(installDir), "nothing installed after refusing");
      return failures;
    }
    Press(dialog, IDOK);
  }
  HWND destination = WaitDialog(titles.destination);
  Check(destination != nullptr, "destination dialog \"" + titles.destination + "\" appears");
  if (!destination) return WaitExit(process, 1000), 1;
  std::printf("proposed destination: %s\n", ItemText(destination, 1012).c_str());
  Capture(destination, shot("destination"));
  Capture(GetDesktopWindow(), shot("background"));
  // A path without drive form is refused and the dialog stays.
  SetItem(destination, 1012, "C:");
  Press(destination, IDOK);
  AnswerBox("Error", "Invalid input - must be of the form\nX:\\Path", IDOK);
  Check(IsWindowVisible(destination) != FALSE, "destination dialog stays after a refused path");
  SetItem(destination, 1012, installDir + "\\\\");
  Press(destination, IDOK);
  // Installing into an existing folder that is not the earlier installation asks first.
  if (HWND ask = WaitDialog("Warning", 1500)) {
    std::printf("answered: %s\n", MessageText(ask).c_str());
    Press(ask, IDYES);
  }
  HWND menu = WaitDialog(titles.menu);
  Check(menu != nullptr, "start-menu folder dialog \"" + titles.menu + "\" appears");
  if (!menu) return WaitExit(process, 1000), 1;
  Check(ItemText(menu, 1021) == "Kelvane", "start-menu folder name proposes the application name");
  Capture(menu, shot("menufolder"));
  Press(menu, IDOK);
  // The progress dialog shows only while the files are written.
  for (int waited = 0; waited < 20000; waited += 10) {
    HWND progress = FindWindowA("#32770", titles.progress.c_str());
    if (progress && IsWindowVisible(progress)) {
      Capture(progress, shot("progress"));
      break;
    }
    if (FindWindowA("#32770", titles.completeCaption.c_str())) break;
    Sleep(10);
  }
  HWND complete = WaitDialog(titles.completeCaption, 60000);
  Check(complete != nullptr, "completion message \"" + titles.completeCaption + "\" appears");
  if (complete) {
    Check(MessageText(complete) == titles.completeText, "completion text reads \"" + MessageText(complete) + "\"");
    Capture(complete, shot("complete"));
    Press(complete, IDOK);
  }
  DWORD code = WaitExit(process, 20000);
  Check(code == 0, "setup ends with 0 after installing (exit " + std::to_string(code) + ")");
  return failures;
}

// check INSTALLDIR NAME...: the record, the shortcuts and the registry entry
int CheckInstallation(const std::string& installDir, const std::vector<std::string>& names) {
  RecordLists record;
  bool read = LoadRecordLists((installDir + "\\uninstall.dat").c_str(), true, record);
  Check(read, "uninstall.dat reads back");
  Check(record.appName == "Kelvane", "record names the application");
  Check(record.files == names, "record lists the archive's " + std::to_string(names.size()) + " files in order (" +
                                   std::to_string(record.files.size()) + ")");
  Check(record.generatedFiles == std::vector<std::string>({"kelvane.cfg", "debug.txt"}),
        "record lists the generated files");
  Check(record.windowClass.empty() && record.windowTitle == "Kelvane   ", "record keeps the running-check title");
  Check(record.shortcuts.size() == 7, "record lists 7 shortcuts (" + std::to_string(record.shortcuts.size()) + ")");
  Check(record.nativeHosts == std::vector<std::string>({"org.example.kelvane"}), "record lists the native host");

  std::string programs = ShellFolder(CSIDL_PROGRAMS) + "\\Kelvane\\";
  std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\";
  const char* const menuLinks[] = {
      "Outlook Express with Kelvane", "Kelvane - stand-alone", "Uninstall", "ReadMe", "FAQ", "Stylesheet Preview"};
  std::vector<std::string> expected;
  for (const char* link : menuLinks) expected.push_back(programs + link + ".lnk");
  expected.push_back(desktop + "Outlook Express with Kelvane.lnk");
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Check(i < record.shortcuts.size() && SamePath(record.shortcuts[i], expected[i]), "record shortcut " + expected[i]);
    Check(Exists(expected[i]), "shortcut file " + expected[i] + " exists");
  }

  {
    ComApartment apartment;
    for (const std::string& link : {expected[0], expected[6]}) {
      ComRef<IShellLinkA> shellLink;
      ComRef<IPersistFile> file;
      bool loaded = false;
      if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     shellLink.ReceiveVoid())) &&
          SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        loaded = SUCCEEDED(file->Load(wide, STGM_READ));
        char target[MAX_PATH] = {}, description[MAX_PATH] = {};
        shellLink->GetPath(target, MAX_PATH, nullptr, 0);
        shellLink->GetDescription(description, MAX_PATH);
        Check(SamePath(target, installDir + "\\kelvstart.exe"), link + " points at " + target);
        Check(std::string(description) == "Outlook Express with Kelvane", link + " has description " + description);
      }
      Check(loaded, "shortcut " + link + " loads");
    }
  }

  Check(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "Kelvane", "Uninstall key holds DisplayName");
  Check(SamePath(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), installDir + "\\uninstall.exe"),
        "Uninstall key holds UninstallString " + ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
  Check(ReadValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Kelvane_RmDir") == "<no value>", "no pending folder removal");
  CheckNativeHost(installDir);
  return failures;
}

// --- the running check -------------------------------------------------------

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* windowClass, const char* title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = windowClass;
  RegisterClassA(&wc);
  return CreateWindowExA(0, windowClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// damaged SETUP: a package whose archive the reader rejects.  The reader's
// exception is caught where the package is opened: setup reports the damage
// and ends with its failure code instead of aborting.
int DamagedPackage(const std::string& setup) {
  HANDLE process = Start("\"" + setup + "\"");
  AnswerBox("Error", "The installation file is corrupt!", IDOK);
  DWORD code = WaitExit(process, 20000);
  Check(code == 1, "setup ends with exit code 1 (exit " + std::to_string(code) + ")");
  return failures;
}

// running SETUP KELVANE: setup refuses to run while Kelvane runs
int RunningCheck(const std::string& setup, const std::string& kelvane) {
  HANDLE kelvaneProcess = nullptr;
  HWND own = nullptr;
  if (Exists(kelvane)) {
    kelvaneProcess = Start("\"" + kelvane + "\"");
    // The first start may ask a question or show a note before its window
    // exists; the default answer goes on.
    for (int waited = 0; waited < 20000 && !FindWindowA(nullptr, "Kelvane   "); waited += 100) {
      for (const char* caption : {"Kelvane", "Kelvane - NOTE"})
        if (HWND box = FindWindowA("#32770", caption)) {
          std::printf("answered \"%s\": %s\n", caption, MessageText(box).c_str());
          Press(box, IDYES);
          Press(box, IDOK);
        }
      Sleep(100);
    }
  }
  if (!FindWindowA(nullptr, "Kelvane   ")) {
    std::printf("Kelvane's window did not appear; a window of the same title stands in\n");
    own = MakeWindow("KelvaneStandInMain", "Kelvane   ");
  }
  Check(FindWindowA(nullptr, "Kelvane   ") != nullptr, "a window titled \"Kelvane   \" exists");
  HANDLE process = Start("\"" + setup + "\"");
  AnswerBox("Error", "It appears that Kelvane is running!\nPlease close the program and try again.", IDOK);
  DWORD code = WaitExit(process, 20000);
  Check(code == 1, "setup ends after the running check (exit " + std::to_string(code) + ")");
  if (kelvaneProcess) {
    TerminateProcess(kelvaneProcess, 0);
    WaitForSingleObject(kelvaneProcess, 5000);
    CloseHandle(kelvaneProcess);
  }
  if (own) DestroyWindow(own);
  return failures;
}

// --- the uninstaller ---------------------------------------------------------

// uninstall INSTALLDIR NAME...
void CheckUninstalled(const std::string& installDir, const std::vector<std::string>& names);

int Uninstall(const std::string& installDir, const std::vector<std::string>& names) {
  HANDLE process = Start("\"" + installDir + "\\uninstall.exe\"");
  AnswerBox("Success", "Kelvane was uninstalled successfully!", IDOK);
  DWORD code = WaitExit(process, 20000);
  Check(code == 0, "uninstall ends with 0 (exit " + std::to_string(code) + ")");
  CheckUninstalled(installDir, names);
  return failures;
}

void CheckUninstalled(const std::string& installDir, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (name != "uninstall.exe") Check(!Exists(installDir + "\\" + name), name + " is removed");
  for (const char* name : {"uninstall.dat", "kelvane.cfg", "debug.txt"})
    Check(!Exists(installDir + "\\" + name), std::string(name) + " is removed");
  Check(!Exists(ShellFolder(CSIDL_PROGRAMS) + "\\Kelvane"), "start-menu folder is removed");
  Check(!Exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Outlook Express with Kelvane.lnk"),
        "desktop shortcut is removed");
  Check(Exists(ShellFolder(CSIDL_DESKTOPDIRECTORY)), "the desktop folder itself stays");
  Check(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") == "<no key>", "Uninstall key is deleted");
  Check(ReadValue(HKEY_LOCAL_MACHINE, kHostKey, nullptr) == "<no key>", "native host key is deleted");
  std::string comspec = ReadValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Kelvane_DelUninstallExe");
  std::string rmdir = ReadValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Kelvane_RmDir");
  std::printf("RunOnce: %s | %s\n", comspec.c_str(), rmdir.c_str());
  Check(comspec.size() > 2 && comspec[0] == '"' &&
            comspec.find("\" /c del \"" + installDir + "\\uninstall.exe\"") != std::string::npos,
        "RunOnce deletes the uninstaller");
  Check(rmdir.size() > 2 && rmdir[0] == '"' &&
            rmdir.find("/c del \"" + installDir + "\\uninstall.exe\" & rd \"" + installDir + "\"") != std::string::npos,
        "RunOnce removes the folder after deleting the uninstaller");
}

// --- unattended runs ---------------------------------------------------------

// Any visible top-level window of the process, message boxes included.
BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM found) {
  auto* search = reinterpret_cast<std::pair<DWORD, std::string>*>(found);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->first && IsWindowVisible(window)) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    search->second = title[0] ? title : "(untitled)";
    return FALSE;
  }
  return TRUE;
}

// Runs a command line to its end and checks that it showed no window.
DWORD RunUnseen(const std::string& commandLine) {
  HANDLE process = Start(commandLine);
  if (!process) return 999;
  std::pair<DWORD, std::string> search(GetProcessId(process), std::string());
  for (int waited = 0; waited < 90000 && WaitForSingleObject(process, 50) == WAIT_TIMEOUT; waited += 50)
    if (search.second.empty()) EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  Check(search.second.empty(), commandLine + " shows no window (saw \"" + search.second + "\")");
  return WaitExit(process, 1000);
}

std::string ReadLog(const std::string& path) {
  std::string text;
  if (FILE* log = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, log)) > 0) text.append(buffer, got);
    std::fclose(log);
  }
  return text;
}

// silent SETUP EXITCODE LOGTEXT ARGUMENTS: setup runs unseen, ends with the
// code, and its log beside it gains a line holding LOGTEXT.
int Silent(const std::string& setup, const std::string& expected, const std::string& logText,
           const std::string& arguments) {
  std::string logPath = setup.substr(0, setup.rfind('\\')) + "\\setup.log";
  std::size_t logged = ReadLog(logPath).size();
  DWORD code = RunUnseen("\"" + setup + "\" " + arguments);
  Check(std::to_string(code) == expected,
        "setup " + arguments + " ends with " + expected + " (exit " + std::to_string(code) + ")");
  std::string added = ReadLog(logPath).substr(logged);
  std::printf("log:\n%s", added.c_str());
  Check(added.find(logText) != std::string::npos, "setup.log tells \"" + logText + "\"");
  return failures;
}

// silent-running SETUP KELVANE: a silent setup leaves a running Kelvane alone.
int SilentRunning(const std::string& setup, const std::string& kelvane) {
  HWND own = MakeWindow("KelvaneStandInMain", "Kelvane   ");
  Check(own != nullptr, "a window titled \"Kelvane   \" exists");
  std::string before = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
  Silent(setup, "2", "It appears that Kelvane is running!", "/S /D=" + kelvane.substr(0, kelvane.rfind('\\')));
  Check(ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString") == before, "the Uninstall key is unchanged");
  DestroyWindow(own);
  return failures;
}

std::string ReadNumber(const char* name) {
  RegistryKey handle;
  if (!handle.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_QUERY_VALUE)) return "<no key>";
  DWORD value = 0, size = sizeof value, type = 0;
  LONG result = RegQueryValueExA(handle.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (result != ERROR_SUCCESS) return "<no value>";
  return type == REG_DWORD ? std::to_string(value) : "<not a number>";
}

std::string FileVersion(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  std::vector<char> data(size ? size : 1);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info)
    return "<no version>";
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS));
}

// arp INSTALLDIR KILOBYTES: the Add/Remove Programs entry in full
int AddRemoveEntry(const std::string& installDir, const std::string& kilobytes) {
  auto text = [](const char* name) { return ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, name); };
  std::string uninstaller = installDir + "\\uninstall.exe";
  Check(text("DisplayName") == "Kelvane", "DisplayName " + text("DisplayName"));
  Check(SamePath(text("UninstallString"), uninstaller), "UninstallString " + text("UninstallString"));
  Check(SamePath(text("QuietUninstallString"), "\"" + uninstaller + "\" /S"),
        "QuietUninstallString " + text("QuietUninstallString"));
  Check(SamePath(text("InstallLocation"), installDir), "InstallLocation " + text("InstallLocation"));
  Check(SamePath(text("DisplayIcon"), installDir + "\\Kelvane.exe,0"), "DisplayIcon " + text("DisplayIcon"));
  std::string version = FileVersion(installDir + "\\Kelvane.exe");
  Check(text("DisplayVersion") == version, "DisplayVersion " + text("DisplayVersion") + " is Kelvane.exe's " + version);
  Check(text("Publisher") == "Orrin Vale", "Publisher " + text("Publisher"));
  Check(text("URLInfoAbout") == "http://www.example.org", "URLInfoAbout " + text("URLInfoAbout"));
  Check(ReadNumber("EstimatedSize") == kilobytes, "EstimatedSize " + ReadNumber("EstimatedSize") + " KB");
  Check(ReadNumber("NoModify") == "1" && ReadNumber("NoRepair") == "1", "NoModify and NoRepair are 1");
  return failures;
}

// quiet-uninstall INSTALLDIR NAME...: the registered quiet command removes
// the installation without a window.
int QuietUninstall(const std::string& installDir, const std::vector<std::string>& names) {
  std::string command = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
  DWORD code = RunUnseen(command);
  Check(code == 0, "quiet uninstall ends with 0 (exit " + std::to_string(code) + ")");
  CheckUninstalled(installDir, names);
  return failures;
}

// hostile SETUP MESSAGE: the package is refused before any other window.
int Hostile(const std::string& setup, const std::string& message) {
  HANDLE process = Start("\"" + setup + "\"");
  HWND box = WaitDialog("Error");
  Check(box != nullptr, "the refusal appears");
  Check(!FindWindowA(nullptr, "Kelvane - Setup"), "no background window behind it");
  if (box) Check(MessageText(box) == message, "message reads \"" + MessageText(box) + "\"");
  if (box) Press(box, IDOK);
  DWORD code = WaitExit(process, 20000);
  Check(code == 1, "setup ends with 1 (exit " + std::to_string(code) + ")");
  return failures;
}

// cancel SETUP INSTALLDIR: destination with missing levels, Back, Exit
int Cancel(const std::string& setup, const std::string& installDir) {
  HANDLE process = Start("\"" + setup + "\"");
  HWND destination = WaitDialog("Destination Directory");
  Check(destination != nullptr, "destination dialog appears");
  if (!destination) return WaitExit(process, 1000), 1;
  SetItem(destination, 1012, installDir);
  Press(destination, IDOK);
  HWND menu = WaitDialog("Start Menu Folder");
  Check(menu != nullptr, "start-menu folder dialog appears");
  Check(Exists(installDir), "the destination was created with its levels");
  if (menu) Press(menu, IDCANCEL);
  for (int waited = 0; waited < 20000 && !(destination = WaitDialog("Destination Directory", 100)); waited += 100) {}
  Check(destination != nullptr, "Back leads to the destination dialog");
  if (destination) Press(destination, IDCANCEL);
  DWORD code = WaitExit(process, 20000);
  Check(code == 1, "setup ends with 1 after Exit (exit " + std::to_string(code) + ")");
  return failures;
}

// --- the launcher ------------------------------------------------------------

std::string OwnDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.rfind('\\'));
}

std::string ArgumentsAfterName() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

void AppendEvent(const std::string& text) {
  std::string path = OwnDirectory() + "\\events.log";
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (FILE* log = std::fopen(path.c_str(), "a")) {
      std::fprintf(log, "%s\n", text.c_str());
      std::fclose(log);
      return;
    }
    Sleep(20);
  }
}

int RunUntilClosed(HWND window, int seconds) {
  SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageA(&message);
  }
  return 0;
}

// The mail client's part: its main window appears two seconds after start.
int PlayClient() {
  AppendEvent("client-start " + ArgumentsAfterName());
  if (FindWindowA("Outlook Express Browser Class", nullptr)) return 0;
  Sleep(2000);
  HWND window = MakeWindow("Outlook Express Browser Class", "Outlook Express");
  AppendEvent("client-window");
  return RunUntilClosed(window, 60);
}

int PlayMainProgram() {
  AppendEvent("kelvane-start " + ArgumentsAfterName());
  HWND window = MakeWindow("KelvaneStandInMain", "Kelvane   ");
  return RunUntilClosed(window, 60);
}

std::vector<std::string> ReadEvents(const std::string& dir);

// The programs the launcher starts run on after it ends: wait until the
// events expected have been written, then a little longer for any extra one.
std::vector<std::string> SettledEvents(const std::string& dir, std::size_t expected) {
  for (int waited = 0; waited < 15000 && ReadEvents(dir).size() < expected; waited += 100) Sleep(100);
  Sleep(3000);
  std::vector<std::string> events = ReadEvents(dir);
  for (const std::string& e : events) std::printf("event: %s\n", e.c_str());
  return events;
}

std::vector<std::string> ReadEvents(const std::string& dir) {
  std::vector<std::string> events;
  if (FILE* log = std::fopen((dir + "\\events.log").c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, log)) {
      std::string text = line;
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      events.push_back(text);
    }
    std::fclose(log);
  }
  return events;
}

bool SetValue(HKEY root, const std::string& key, const char* name, const std::string& value) {
  RegistryKey handle;
  return handle.Create(root, key, KEY_SET_VALUE) && handle.WriteText(name, value);
}

// launcher KELVSTART WORKDIR
int Launcher(const std::string& kelvstart, const std::string& work) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  CreateDirectoryA(work.c_str(), nullptr);
  DeleteFileA((work + "\\events.log").c_str());
  Check(CopyFileA(self, (work + "\\msimn.exe").c_str(), FALSE) != FALSE, "stand-in client in place");
  Check(CopyFileA(self, (work + "\\kelvane.exe").c_str(), FALSE) != FALSE, "stand-in main program in place");
  // Windows looks the name up with ".exe" appended, Wine as it is given.
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msimn";
  Check(SetValue(HKEY_LOCAL_MACHINE, appPaths + ".exe", nullptr, work + "\\msimn.exe") &&
            SetValue(HKEY_LOCAL_MACHINE, appPaths, nullptr, work + "\\msimn.exe"),
        "msimn registered with the shell");

  // Without the registry entry the launcher stops before starting anything.
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  HANDLE process = Start("\"" + kelvstart + "\"");
  AnswerBox("Error", "Could not find registry information!", IDOK);
  Check(WaitExit(process, 20000) == 1, "launcher ends with 1 without its registry entry");
  Check(ReadEvents(work).empty(), "nothing started without the registry entry");

  SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", work + "\\uninstall.exe");
  const std::string parameters = "/newsurl:news://example.test \"two words\"";
  process = Start("\"" + kelvstart + "\" " + parameters);
  DWORD code = WaitExit(process, 40000);
  Check(code == 0, "launcher ends with 0 (exit " + std::to_string(code) + ")");
  std::vector<std::string> events = SettledEvents(work, 3);
  Check(events.size() == 3, "client started, its window appeared, Kelvane started");
  if (events.size() == 3) {
    Check(events[0] == "client-start " + parameters, "client got the parameters unchanged");
    Check(events[1] == "client-window", "the launcher waited for the client's window");
    Check(events[2] == "kelvane-start ", "Kelvane started once, without parameters");
  }

  // With Kelvane running, a second launch starts only the client.
  process = Start("\"" + kelvstart + "\"");
  code = WaitExit(process, 40000);
  Check(code == 0, "second launch ends with 0 (exit " + std::to_string(code) + ")");
  events = SettledEvents(work, 4);
  Check(events.size() == 4 && events[3] == "client-start ", "second launch starts the client and no second Kelvane");

  for (const char* title : {"Kelvane   ", "Outlook Express"})
    if (HWND window = FindWindowA(nullptr, title)) PostMessageA(window, WM_CLOSE, 0, 0);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, appPaths.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (appPaths + ".exe").c_str());
  return failures;
}

int Usage() {
  std::printf(
      "usage: driver wizard|check|damaged|running|uninstall|launcher|silent|silent-running|arp|quiet-uninstall|"
      "hostile|cancel ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string name = Lower(self);
  name = name.substr(name.rfind('\\') + 1);
  if (name == "msimn.exe") return PlayClient();
  if (name == "kelvane.exe") return PlayMainProgram();

  if (argc < 2) return Usage();
  std::string command = argv[1];
  std::vector<std::string> rest(argv + 2, argv + argc);
  int result = 2;
  if (command == "wizard" && rest.size() == 5)
    result = Wizard(rest[0], rest[1], rest[2], rest[3], rest[4]);
  else if (command == "check" && rest.size() >= 1)
    result = CheckInstallation(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()));
  else if (command == "damaged" && rest.size() == 1)
    result = DamagedPackage(rest[0]);
  else if (command == "running" && rest.size() == 2)
    result = RunningCheck(rest[0], rest[1]);
  else if (command == "uninstall" && rest.size() >= 1)
    result = Uninstall(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()));
  else if (command == "silent" && rest.size() == 4)
    result = Silent(rest[0], rest[1], rest[2], rest[3]);
  else if (command == "silent-running" && rest.size() == 2)
    result = SilentRunning(rest[0], rest[1]);
  else if (command == "arp" && rest.size() == 2)
    result = AddRemoveEntry(rest[0], rest[1]);
  else if (command == "quiet-uninstall" && rest.size() >= 1)
    result = QuietUninstall(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()));
  else if (command == "hostile" && rest.size() == 2)
    result = Hostile(rest[0], rest[1]);
  else if (command == "cancel" && rest.size() == 2)
    result = Cancel(rest[0], rest[1]);
  else if (command == "launcher" && rest.size() == 2)
    result = Launcher(rest[0], rest[1]);
  else
    return Usage();
  std::printf("%s: %d failure(s)\n", command.c_str(), failures);
  return result == 0 ? 0 : 1;
}
