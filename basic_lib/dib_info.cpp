#include "basic_lib/dib_info.h"

namespace basic_lib {

bool ReadOpaqueRows(HBITMAP bitmap, int width, int height, std::uint32_t* out) {
  BITMAPINFO bi = TopDownDibInfo(width, height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), out, &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) out[i] |= 0xFF000000u;
  return true;
}

}  // namespace basic_lib
