#pragma once
// GDI+ with NOMINMAX in force: its headers use unqualified min and max.
#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM declarations GDI+ needs.
#include <objidl.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace basic_lib {

// GdiplusStartup for the life of the object.
class ScopedGdiplus {
 public:
  ScopedGdiplus() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ScopedGdiplus(const ScopedGdiplus&) = delete;
  ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;
  ~ScopedGdiplus() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  [[nodiscard]] bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

}  // namespace basic_lib
