// MSHTML documents of another process, reached through oleacc.dll, which is
// loaded at run time so that the program starts without it.
#pragma once

#include <windows.h>

#include <optional>

#include "automation/AccessibilityApi.h"
#include "win32/Com.h"
#include "win32/Handles.h"

class Win32Accessibility : public AccessibilityApi {
public:
  Win32Accessibility() = default;
  ~Win32Accessibility() override = default;
  Win32Accessibility(const Win32Accessibility&) = delete;
  Win32Accessibility& operator=(const Win32Accessibility&) = delete;

  void InitializeCom() override;
  void UninitializeCom() override;
  bool LoadLibrary() override;
  bool FindObjectFromLresult() override;
  void FreeLibrary() override;
  unsigned RegisterMessage(const char* name) override;
  bool SendMessageTimeout(WindowHandle window, unsigned message, unsigned timeoutMs, std::intptr_t& result) override;
  std::unique_ptr<HtmlDocument> ObjectFromLresult(std::intptr_t result) override;

private:
  using ObjectFromLresultFunction = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);

  UniqueModule module_;
  ObjectFromLresultFunction objectFromLresult_ = nullptr;
  // Declared before what needs COM, so that it is left last.
  std::optional<ComApartment> apartment_;
  // The type library that describes the document interfaces, held while COM
  // is initialised: the universal marshaller looks it up for every proxy it
  // builds, and a library nobody holds is loaded and parsed again each time.
  ComRef<ITypeLib> documentTypes_;
};
