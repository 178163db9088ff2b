#pragma once
// A decoded skin picture: a 32-bit top-down DIB section with premultiplied BGRA pixels, ready for
// AlphaBlend. Move-only; the DIB is deleted with the picture.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>

#include "basic_lib/scoped_handle.h"

namespace ui_toolkit {

class CPicture {
 public:
  // Decodes PNG, BMP, JPEG or GIF bytes through WIC. Null for anything WIC cannot read.
  static std::unique_ptr<CPicture> Decode(std::span<const std::uint8_t> bytes);
  // A blank (fully transparent) picture, for drawing into.
  static std::unique_ptr<CPicture> Create(int width, int height);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] HBITMAP bitmap() const { return bitmap_.get(); }
  [[nodiscard]] std::uint32_t* pixels() const { return pixels_; }  // width * height, row 0 on top

 private:
  CPicture() = default;
  basic_lib::ScopedBitmap bitmap_;
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace ui_toolkit
