#include "ui/windows/CustomWindow.h"

namespace ui {

namespace {
const char kSelfProperty[] = "KelvaneWindowObject";
}

CCustomWindow::~CCustomWindow() {
  DestroyWindow();
}

bool CCustomWindow::Create(const char* className, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                           HWND parent) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!::GetClassInfoA(instance, className, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    if (::RegisterClassA(&wc) == 0) return false;
  }
  HWND hwnd = ::CreateWindowExA(exStyle, className, "", style, x, y, width, height, parent, nullptr, instance, this);
  return hwnd != nullptr;
}

void CCustomWindow::DestroyWindow() {
  HWND hwnd = GetHandle();
  if (hwnd != nullptr && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  Attach(nullptr);
}

LRESULT CCustomWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(GetHandle(), message, wParam, lParam);
}

LRESULT CALLBACK CCustomWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CCustomWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CCustomWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->Attach(hwnd);
  } else {
    self = reinterpret_cast<CCustomWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  const LRESULT result = self->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->Attach(nullptr);
  }
  return result;
}

CSubclassedWindow::~CSubclassedWindow() {
  Unsubclass();
}

bool CSubclassedWindow::Subclass(HWND control) {
  if (control == nullptr || original_ != nullptr) return false;
  Attach(control);
  ::SetPropA(control, kSelfProperty, this);
  original_ =
      reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticProc)));
  return original_ != nullptr;
}

void CSubclassedWindow::Unsubclass() {
  HWND hwnd = GetHandle();
  if (hwnd != nullptr && original_ != nullptr && ::IsWindow(hwnd)) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::RemovePropA(hwnd, kSelfProperty);
  }
  original_ = nullptr;
  Attach(nullptr);
}

LRESULT CSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallOriginal(message, wParam, lParam);
}

LRESULT CSubclassedWindow::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcA(original_, GetHandle(), message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CSubclassedWindow*>(::GetPropA(hwnd, kSelfProperty));
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WNDPROC original = self->original_;
    self->Unsubclass();
    return ::CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  return self->WindowProc(message, wParam, lParam);
}

}  // namespace ui
