#include "setup/windows/BackgroundWindow.h"

#include "win32/Handles.h"

HBITMAP MakeBackgroundBitmap(const std::string& title, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  UniqueDc memoryDc(CreateCompatibleDC(screen));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  if (!memoryDc || !bitmap) return nullptr;
  const HDC memory = memoryDc.Get();
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap.Get());
  for (int row = 0; row < height; ++row) {
    // Black at the top, nearly white at the bottom.
    BYTE grey = static_cast<BYTE>(256LL * row / height);
    UniqueBrush brush(CreateSolidBrush(RGB(grey, grey, grey)));
    RECT line = {0, row, width, row + 1};
    FillRect(memory, &line, brush.Get());
  }
  UniqueFont font(CreateFontA(50, 25, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
  HGDIOBJ oldFont = font ? SelectObject(memory, font.Get()) : nullptr;
  SetBkMode(memory, TRANSPARENT);
  int length = static_cast<int>(title.size());
  SetTextColor(memory, RGB(85, 85, 85));
  TextOutA(memory, 34, 34, title.c_str(), length);
  SetTextColor(memory, RGB(255, 255, 255));
  TextOutA(memory, 30, 30, title.c_str(), length);
  if (oldFont) SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  return bitmap.Release();
}

bool CBackgroundWindow::Create(const std::string& appName, HICON largeIcon, HICON smallIcon) {
  RECT desktop{};
  ::GetClientRect(::GetDesktopWindow(), &desktop);
  int width = desktop.right - desktop.left;
  int height = desktop.bottom - desktop.top;
  if (!CCustomWindow::Create("KelvaneSetupBackground", WS_POPUP | WS_CLIPCHILDREN, WS_EX_APPWINDOW, 0, 0, width, height,
                             nullptr))
    return false;
  std::string title = appName + " - Setup";
  SetText(title);
  if (largeIcon) SetIcon(largeIcon, true);
  if (smallIcon) SetIcon(smallIcon, false);
  bitmap_.Reset(MakeBackgroundBitmap(title, width, height));
  picture_.Attach(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, width, height, GetHandle(),
                                  nullptr, GetModuleHandleA(nullptr), nullptr));
  if (picture_.GetHandle() && bitmap_)
    picture_.Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.Get()));
  Show(SW_SHOWMAXIMIZED);
  Update();
  return true;
}

LRESULT CBackgroundWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;  // the picture covers everything
  if (message == WM_CLOSE) return 0;       // setup ends it, not the user
  return CCustomWindow::WindowProc(message, wParam, lParam);
}
