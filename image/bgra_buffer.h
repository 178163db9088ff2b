#pragma once
// A plain 32-bit picture in memory: B, G, R, A bytes per pixel (straight alpha), rows top-down, no padding.
// The decoding pipeline passes these between its steps.
#include <cstdint>
#include <vector>

namespace image {

struct BgraBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, row 0 first

  [[nodiscard]] bool empty() const { return width <= 0 || height <= 0; }
  void Resize(int w, int h) {
    width = w;
    height = h;
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  }
  [[nodiscard]] std::uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
  [[nodiscard]] const std::uint32_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

}  // namespace image
