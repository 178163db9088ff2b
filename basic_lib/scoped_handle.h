#pragma once
// Move-only owners of Win32 handles and GDI objects. Copying is deleted so a handle is closed exactly once.
#include <windows.h>

#include <utility>

namespace basic_lib {

template <typename Handle, typename Traits>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(Handle h) : handle_(h) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  ~ScopedHandle() { reset(); }

  [[nodiscard]] Handle get() const { return handle_; }
  [[nodiscard]] bool valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return valid(); }

  void reset(Handle h = Traits::Invalid()) {
    if (valid()) Traits::Close(handle_);
    handle_ = h;
  }
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Invalid()); }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // CreateMutex, CreateEvent, OpenProcess, ...: null on failure
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile, FindFirstFile's cousins: INVALID_HANDLE_VALUE on failure
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {  // FindFirstFile
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
template <typename Gdi>
struct GdiObjectTraits {
  static Gdi Invalid() { return nullptr; }
  static void Close(Gdi h) { DeleteObject(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};

using ScopedKernelHandle = ScopedHandle<HANDLE, KernelHandleTraits>;
using ScopedFileHandle = ScopedHandle<HANDLE, FileHandleTraits>;
using ScopedFindHandle = ScopedHandle<HANDLE, FindHandleTraits>;
using ScopedBrush = ScopedHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using ScopedBitmap = ScopedHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using ScopedFont = ScopedHandle<HFONT, GdiObjectTraits<HFONT>>;
using ScopedRegKey = ScopedHandle<HKEY, RegKeyTraits>;

// A memory DC deleted on scope exit.
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
using ScopedMemoryDc = ScopedHandle<HDC, MemoryDcTraits>;

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace basic_lib
