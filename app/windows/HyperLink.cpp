#include "app/windows/HyperLink.h"

#include <shellapi.h>

#include <vector>

#include "app/LinkText.h"
#include "ui/windows/Dialog.h"
#include "win32/Registry.h"

namespace {
constexpr UINT kToolId = 1;
}

CHyperLink::CHyperLink()
    : linkColour_(RGB(0, 0, 238)), visitedColour_(RGB(85, 26, 139)), hoverColour_(::GetSysColor(COLOR_HIGHLIGHT)) {}

CHyperLink::~CHyperLink() {
  // The tooltip goes first: it subclasses the control for its relaying.
  toolTip_.Destroy();
  Unsubclass();
}

bool CHyperLink::TakeOver(HWND control) {
  if (!Subclass(control)) return false;
  SetStyle(GetStyle() | SS_NOTIFY);
  const std::string text = GetText();
  if (target_.empty()) target_ = text;
  if (text.empty()) SetText(target_);

  LOGFONTA lf{};
  HFONT current = GetFont();
  if (current == nullptr) current = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::GetObjectA(current, sizeof lf, &lf);
  lf.lfUnderline = underline_ ? TRUE : FALSE;
  font_.Reset(::CreateFontIndirectA(&lf));
  if (font_) SetFont(font_.Get());

  AdjustToFit();
  LoadLinkCursor();
  if (toolTip_.Create(GetParent())) toolTip_.AddTool(GetHandle(), kToolId, target_);
  return true;
}

void CHyperLink::SetTarget(const std::string& target) {
  target_ = target;
  if (!IsWindow()) return;
  AdjustToFit();
  toolTip_.UpdateTipText(GetHandle(), kToolId, target_);
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover) {
  linkColour_ = link;
  visitedColour_ = visited;
  hoverColour_ = hover == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
  if (IsWindow()) Repaint(false);
}

void CHyperLink::SetVisited(bool visited) {
  visited_ = visited;
  if (IsWindow()) Repaint(false);
}

void CHyperLink::Repaint(bool now) {
  Invalidate(true);
  if (now) Update();
}

void CHyperLink::AdjustToFit() {
  if (!IsWindow() || !adjustToFit_) return;
  const std::string text = GetText();
  HDC dc = ::GetDC(GetHandle());
  HGDIOBJ old = ::SelectObject(dc, font_ ? font_.Get() : GetFont());
  SIZE extent{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, old);
  ::ReleaseDC(GetHandle(), dc);

  RECT r = GetRectInParent();
  const LONG_PTR style = GetStyle();
  const LONG height = r.bottom - r.top;
  const LONG width = r.right - r.left;
  if (style & SS_CENTERIMAGE) {
    const LONG dy = (height - extent.cy) / 2;
    r.top += dy;
  }
  r.bottom = r.top + extent.cy;
  if ((style & SS_TYPEMASK) == SS_CENTER) {
    r.left += (width - extent.cx - 2) / 2;
  } else if ((style & SS_TYPEMASK) == SS_RIGHT) {
    r.left = r.right - extent.cx - 2;
  }
  // Two pixels to spare: the static control clips a text that fills it exactly.
  r.right = r.left + extent.cx + 2;
  ::SetWindowPos(GetHandle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::LoadLinkCursor() {
  if (cursor_) return;
  // The hand of the old help viewer, where the system still has it.
  char windows[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::string path = std::string(windows, length) + "\\winhlp32.exe";
  UniqueModule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return;
  HCURSOR hand = ::LoadCursorA(module.Get(), MAKEINTRESOURCEA(106));
  if (hand != nullptr) cursor_.Reset(static_cast<HCURSOR>(::CopyIcon(hand)));
}

int CHyperLink::GotoURL(const std::string& target, int showCommand) {
  const auto shell =
      reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand));
  const int shellResult = static_cast<int>(shell);
  if (shell > 32) return shellResult;

  std::string htmClass;
  if (ReadRegistryString(HKEY_CLASSES_ROOT, ".htm", nullptr, htmClass) != RegistryRead::kOk) return shellResult;
  std::string openCommand;
  if (ReadRegistryString(HKEY_CLASSES_ROOT, (htmClass + "\\shell\\open\\command").c_str(), nullptr, openCommand) !=
      RegistryRead::kOk)
    return shellResult;
  const std::string command = BrowserCommandFor(openCommand, target);
  return static_cast<int>(::WinExec(command.c_str(), static_cast<UINT>(showCommand)));
}

void CHyperLink::ReportLinkError(int code) const {
  const std::string text = LinkErrorMessage(code);
  HWND owner = GetParent();
  ::MessageBoxA(owner, text.c_str(), caption_.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

void CHyperLink::OnClicked() {
  const int result = GotoURL(target_, SW_SHOW);
  if (result > 32) {
    SetVisited(true);
  } else {
    SetVisited(false);
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportLinkError(result);
  }
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case ui::kReflectBase + WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, over_ ? hoverColour_ : (visited_ ? visitedColour_ : linkColour_));
      ::SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    case ui::kReflectBase + WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        return 1;
      }
      return 0;
    case WM_MOUSEMOVE: {
      if (!over_) {
        over_ = true;
        Repaint(true);
        ::SetCapture(GetHandle());
      } else {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT r = GetClientRect();
        if (!::PtInRect(&r, p)) {
          over_ = false;
          ::ReleaseCapture();
          Repaint(false);
        }
      }
      break;
    }
    case WM_CAPTURECHANGED:
      if (over_ && reinterpret_cast<HWND>(lParam) != GetHandle()) {
        over_ = false;
        Repaint(false);
      }
      break;
    case WM_SETCURSOR:
      if (cursor_) {
        ::SetCursor(cursor_.Get());
        return TRUE;
      }
      break;
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}
