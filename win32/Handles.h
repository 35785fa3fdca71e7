// Owners for the Win32 handles the programs create: each closes its handle
// once, when it goes out of scope or is reset; none can be copied.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle h = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = h;
  }

private:
  Handle handle_ = Traits::Invalid();
};

// A handle that is null when there is none and that one system call frees
// (Freed: the type that call takes, HGDIOBJ for the GDI objects).
template <typename Handle, typename Freed, BOOL(WINAPI* Free)(Freed)>
struct NullHandleTraits {
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { Free(h); }
};

// Icons loaded with LR_SHARED or LoadIcon belong to the system and are not
// put in a UniqueIcon.
using UniqueIcon = UniqueHandle<HICON, NullHandleTraits<HICON, HICON, ::DestroyIcon>>;
using UniqueCursor = UniqueHandle<HCURSOR, NullHandleTraits<HCURSOR, HCURSOR, ::DestroyCursor>>;
using UniqueFont = UniqueHandle<HFONT, NullHandleTraits<HFONT, HGDIOBJ, ::DeleteObject>>;
using UniqueBitmap = UniqueHandle<HBITMAP, NullHandleTraits<HBITMAP, HGDIOBJ, ::DeleteObject>>;
using UniqueBrush = UniqueHandle<HBRUSH, NullHandleTraits<HBRUSH, HGDIOBJ, ::DeleteObject>>;
// A device context of one's own (CreateCompatibleDC), not one from GetDC.
using UniqueDc = UniqueHandle<HDC, NullHandleTraits<HDC, HDC, ::DeleteDC>>;
using UniqueMenu = UniqueHandle<HMENU, NullHandleTraits<HMENU, HMENU, ::DestroyMenu>>;
using UniqueWindow = UniqueHandle<HWND, NullHandleTraits<HWND, HWND, ::DestroyWindow>>;
// A loaded DLL (LoadLibrary, LoadLibraryEx).
using UniqueModule = UniqueHandle<HMODULE, NullHandleTraits<HMODULE, HMODULE, ::FreeLibrary>>;
