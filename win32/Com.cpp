#include "win32/Com.h"

#include <climits>

bool Bstr::FromAnsi(const std::string& text) {
  ::SysFreeString(value_);
  value_ = nullptr;
  if (text.size() > INT_MAX / 2) return false;
  const int length = static_cast<int>(text.size());
  const int wide = length == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (length != 0 && wide == 0) return false;
  value_ = ::SysAllocStringLen(nullptr, static_cast<UINT>(wide));
  if (value_ == nullptr) return false;
  if (wide != 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, value_, wide);
  return true;
}

bool Bstr::FromWide(const std::wstring& text) {
  ::SysFreeString(value_);
  value_ = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return value_ != nullptr;
}

bool Bstr::ToAnsi(std::string& text, bool& lossy) const {
  text.clear();
  lossy = false;
  const UINT length = ::SysStringLen(value_);
  if (length == 0) return true;
  if (length > INT_MAX / 4) return false;
  // No best-fit mapping: a character the code page lacks must show up as a
  // default character, never as a look-alike that would slip through.
  BOOL usedDefault = FALSE;
  const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, value_, static_cast<int>(length), nullptr, 0,
                                         nullptr, &usedDefault);
  if (size <= 0) return false;
  text.resize(static_cast<std::size_t>(size));
  usedDefault = FALSE;
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, value_, static_cast<int>(length), &text[0], size, nullptr,
                        &usedDefault);
  lossy = usedDefault != FALSE;
  return true;
}
