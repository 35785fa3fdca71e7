// kelvane-ui-probe: looks at and drives the windows of a running Kelvane.exe
// from outside, as a user would, for the end-to-end tests.
//
//   state                         "visible=V enabled=E" of the main window, or "none"
//   command ID                    gives the main window a tray command and returns once
//                                 the window has carried it out
//   click CAPTION ID              clicks a button of the window with that caption
//   text CAPTION ID               prints a control's text
//   settext CAPTION ID TEXT       types TEXT into a control (the control reports the change)
//   leave CAPTION ID              tells the dialog that the user left the control
//   check CAPTION ID              prints 0 or 1 for a check box
//   toggle CAPTION ID             ticks or unticks a check box as a click does
//   select CAPTION ID INDEX       selects a list item as the user would
//   rows                          the status list, one "TITLE<TAB>STATUS" line per row
//   wait CAPTION SECONDS          waits for a top-level window with that caption;
//                                 prints the texts of its static controls
//   gone CAPTION SECONDS          waits until no window has that caption
//   menu                          prints "open" while a popup menu is shown
//   caption CAPTION               prints the caption of the window found (for exact matching)
// Exit code 0 on success, 1 when a window or control is missing, 2 for usage.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Product.h"

namespace {

HWND Find(const char* caption) {
  return ::FindWindowA(nullptr, caption);
}

std::string TextOf(HWND window) {
  char buffer[4096];
  const int n = ::GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

int Missing(const char* what) {
  std::fprintf(stderr, "kelvane-ui-probe: %s not found\n", what);
  return 1;
}

HWND Control(const char* caption, const char* id, HWND* dialog = nullptr) {
  HWND window = Find(caption);
  if (dialog != nullptr) *dialog = window;
  if (window == nullptr) return nullptr;
  return ::GetDlgItem(window, std::atoi(id));
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  char cls[64];
  ::GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    const std::string text = TextOf(child);
    if (!text.empty()) std::printf("%s\n", text.c_str());
  }
  return TRUE;
}

// The text of one list view cell of another process: the request must live
// in that process's memory.
std::string ListViewText(HWND list, HANDLE process, int row, int column) {
  const SIZE_T bufferSize = 1024;
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + bufferSize, MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return std::string();
  LVITEMA item{};
  item.iSubItem = column;
  item.cchTextMax = static_cast<int>(bufferSize);
  item.pszText = static_cast<char*>(remote) + sizeof(LVITEMA);
  std::string text;
  if (::WriteProcessMemory(process, remote, &item, sizeof item, nullptr)) {
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
    std::vector<char> buffer(bufferSize + 1, '\0');
    if (::ReadProcessMemory(process, item.pszText, buffer.data(), bufferSize, nullptr)) text = buffer.data();
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text;
}

int Usage() {
  std::fprintf(stderr,
               "usage: kelvane-ui-probe state|command|click|text|settext|leave|check|select|rows|wait|gone|menu ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string verb = argv[1];
  if (verb == "state") {
    HWND main = Find(kMainWindowCaption);
    if (main == nullptr) {
      std::printf("none\n");
      return 0;
    }
    std::printf("visible=%d enabled=%d\n", ::IsWindowVisible(main) ? 1 : 0, ::IsWindowEnabled(main) ? 1 : 0);
    return 0;
  }
  if (verb == "command" && argc == 3) {
    HWND main = Find(kMainWindowCaption);
    if (main == nullptr) return Missing("main window");
    // Sent, as a double-click on the tray icon sends it: what the test does
    // next (typing into a field, choosing from a list) must not overtake the
    // command, as a posted one would be overtaken by the messages sent after
    // it while the program is busy.
    DWORD_PTR answer = 0;
    const LRESULT sent = ::SendMessageTimeoutA(main, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0,
                                               SMTO_NORMAL, 20000, &answer);
    return sent != 0 ? 0 : 1;
  }
  if (verb == "click" && argc == 4) {
    // The notification a click sends, posted: the button may open a modal
    // window.  (BM_CLICK depends on where the pointer is under Wine.)
    HWND dialog = nullptr;
    HWND button = Control(argv[2], argv[3], &dialog);
    if (button == nullptr) return Missing("button");
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(std::atoi(argv[3])), BN_CLICKED);
    return ::PostMessageA(dialog, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(button)) ? 0 : 1;
  }
  if (verb == "toggle" && argc == 4) {
    HWND dialog = nullptr;
    HWND box = Control(argv[2], argv[3], &dialog);
    if (box == nullptr) return Missing("check box");
    const LRESULT state = ::SendMessageA(box, BM_GETCHECK, 0, 0);
    ::SendMessageA(box, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(std::atoi(argv[3])), BN_CLICKED);
    ::PostMessageA(dialog, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(box));
    return 0;
  }
  if (verb == "text" && argc == 4) {
    HWND control = Control(argv[2], argv[3]);
    if (control == nullptr) return Missing("control");
    // GetWindowText does not ask a control of another process.
    char buffer[4096] = {0};
    ::SendMessageA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    std::printf("%s\n", buffer);
    return 0;
  }
  if (verb == "settext" && argc == 5) {
    HWND control = Control(argv[2], argv[3]);
    if (control == nullptr) return Missing("control");
    ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    return 0;
  }
  if (verb == "leave" && argc == 4) {
    HWND dialog = nullptr;
    HWND control = Control(argv[2], argv[3], &dialog);
    if (control == nullptr) return Missing("control");
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(std::atoi(argv[3])), EN_KILLFOCUS);
    ::SendMessageA(dialog, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (verb == "check" && argc == 4) {
    HWND control = Control(argv[2], argv[3]);
    if (control == nullptr) return Missing("control");
    std::printf("%d\n", static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0)));
    return 0;
  }
  if (verb == "select" && argc == 5) {
    HWND dialog = nullptr;
    HWND control = Control(argv[2], argv[3], &dialog);
    if (control == nullptr) return Missing("control");
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[4])), 0);
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(std::atoi(argv[3])), CBN_SELCHANGE);
    // Posted: the change may open a modal dialog.
    ::PostMessageA(dialog, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (verb == "rows") {
    HWND list = Control(kMainWindowCaption, "1002");
    if (list == nullptr) return Missing("status list");
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) return Missing("process");
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
      std::printf("%s\t%s\n", ListViewText(list, process, row, 0).c_str(), ListViewText(list, process, row, 1).c_str());
    ::CloseHandle(process);
    return 0;
  }
  if ((verb == "wait" || verb == "gone") && argc == 4) {
    const DWORD limit = static_cast<DWORD>(std::atof(argv[3]) * 1000);
    const DWORD start = ::GetTickCount();
    for (;;) {
      HWND window = Find(argv[2]);
      if (verb == "wait" && window != nullptr && ::IsWindowVisible(window)) {
        ::EnumChildWindows(window, PrintStatic, 0);
        return 0;
      }
      if (verb == "gone" && window == nullptr) return 0;
      if (::GetTickCount() - start > limit) return Missing(argv[2]);
      ::Sleep(50);
    }
  }
  if (verb == "menu") {
    // Menus belong to their process under Wine: only the open popup
    // window can be seen from here.
    HWND menuWindow = ::FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !::IsWindowVisible(menuWindow)) return Missing("open menu");
    std::printf("open\n");
    return 0;
  }
  return Usage();
}
