#pragma once
// JPEG decoding with libjpeg-turbo: headers and size when a file opens, pixels only when asked, at the
// smallest of the fast DCT scales (1/8, 1/4, 1/2, 1/1) that still covers the size wanted. The same
// picture can also be handed out as a WIC bitmap source that decodes itself in full on first use.
// Any thread: the compressed bytes are read-only; each thread keeps its own decompressor.
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "image/bgra_buffer.h"

namespace image {

class CJpegImage {
 public:
  // Null when the bytes are not a JPEG whose header libjpeg-turbo reads.
  static std::shared_ptr<CJpegImage> Open(std::vector<std::uint8_t> bytes);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] std::span<const std::uint8_t> bytes() const { return bytes_; }
  // The scaled size Decode(min_width, min_height) gives.
  void ScaledSize(int min_width, int min_height, int& width, int& height) const;
  // Pixels at the smallest DCT scale that covers min_width x min_height, or falls short of it by at most
  // a tenth (0, 0: full size). False for a broken stream;
  // a stream cut short still gives what it holds.
  bool Decode(int min_width, int min_height, BgraBuffer& out) const;
  // The same into memory of the caller's (ScaledSize's rows of pitch bytes each).
  bool DecodeInto(int min_width, int min_height, std::uint8_t* pixels, int pitch) const;

 private:
  CJpegImage() = default;
  std::vector<std::uint8_t> bytes_;
  int width_ = 0, height_ = 0;
};

// The picture as a 32bppBGRA WIC bitmap source at full size.
Microsoft::WRL::ComPtr<IWICBitmapSource> MakeJpegBitmapSource(std::shared_ptr<const CJpegImage> jpeg);
// The picture behind a source made above, or null for any other source.
[[nodiscard]] std::shared_ptr<const CJpegImage> JpegBehind(IWICBitmapSource* source);

}  // namespace image
