// Owners for COM: one interface reference, one BSTR, and the calling
// thread's apartment.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

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
  // For the untyped out parameters of CoCreateInstance and QueryInterface.
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  explicit operator bool() const { return pointer_ != nullptr; }

private:
  T* pointer_ = nullptr;
};

// A BSTR freed with SysFreeString.
class Bstr {
public:
  Bstr() = default;
  ~Bstr() { ::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  // 8-bit text in the ANSI code page, widened.  False when out of memory.
  bool FromAnsi(const std::string& text);
  bool FromWide(const std::wstring& text);
  // Narrowed to the ANSI code page; false when it cannot be.  lossy tells
  // whether a character had no exact counterpart there (a default character
  // was put in its place).
  bool ToAnsi(std::string& text, bool& lossy) const;

  BSTR Get() const { return value_; }
  BSTR* Receive() {
    ::SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }

private:
  BSTR value_ = nullptr;
};

// COM for the calling thread, for as long as the object lives; left again
// only when it was entered.
class ComApartment {
public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : result_(::CoInitializeEx(nullptr, model)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  bool Entered() const { return SUCCEEDED(result_); }

private:
  HRESULT result_;
};
