// Owners for the Win32 and COM resources the automation holds.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "automation/AccessibilityApi.h"
#include "automation/WindowHandle.h"

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

// One COM reference.
template <typename T>
class ComRef {
public:
  ComRef() = default;
  explicit ComRef(T* pointer) : pointer_(pointer) {}
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }

  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }
  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  // For out parameters: drops what is held first.
  T** Receive() {
    Reset();
    return &pointer_;
  }
  explicit operator bool() const { return pointer_ != nullptr; }

private:
  T* pointer_ = nullptr;
};

// A BSTR freed with SysFreeString.
class Bstr {
public:
  Bstr() = default;
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  // 8-bit text in the ANSI code page, widened.  False when out of memory.
  bool FromAnsi(const std::string& text);
  bool FromWide(const std::wstring& text);
  // Narrowed to the ANSI code page; lossy when a character had no exact
  // counterpart there (a default character was put in its place).
  TextRead ToAnsi(std::string& text) const;

  BSTR Get() const { return value_; }
  BSTR* Receive() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }

private:
  BSTR value_ = nullptr;
};

// A loaded DLL.
class ModuleHandle {
public:
  ModuleHandle() = default;
  ~ModuleHandle() { Reset(); }
  ModuleHandle(const ModuleHandle&) = delete;
  ModuleHandle& operator=(const ModuleHandle&) = delete;

  bool Load(const char* name) {
    Reset();
    module_ = ::LoadLibraryA(name);
    return module_ != nullptr;
  }
  void Reset() {
    if (module_ != nullptr) ::FreeLibrary(module_);
    module_ = nullptr;
  }
  HMODULE Get() const { return module_; }

private:
  HMODULE module_ = nullptr;
};
