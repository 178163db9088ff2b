#pragma once
// The header of a 32-bit top-down DIB: what every CreateDIBSection and GetDIBits here asks for, rows from
// the top so that row y sits at y * 4 * width.
#include <windows.h>

#include <cstdint>

namespace basic_lib {

inline BITMAPINFO TopDownDibInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// Copies a bitmap's pixels, top-down, into out (width * height entries) with alpha made opaque: GDI leaves
// the alpha byte of an opaque bitmap undefined. False when GDI delivers fewer rows.
bool ReadOpaqueRows(HBITMAP bitmap, int width, int height, std::uint32_t* out);

}  // namespace basic_lib
