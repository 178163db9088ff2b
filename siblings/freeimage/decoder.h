#pragma once
// The decoders of FreeImage.dll. Each format is one file that registers itself with a static Registrar;
// load_image asks each in turn whether it knows the bytes.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace freeimage {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> bgra;  // straight alpha, rows top-down
  // False for a size no picture needs (and a hostile header asks for).
  bool Allocate(long long w, long long h) {
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || w * h > (1ll << 28)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    bgra.assign(static_cast<size_t>(w * h), 0xFF000000u);
    return true;
  }
};

struct Decoder {
  std::string_view name;
  bool (*knows)(std::span<const std::uint8_t> bytes, std::wstring_view extension);
  bool (*decode)(std::span<const std::uint8_t> bytes, Picture& out);
};

const std::vector<Decoder>& Decoders();

struct Registrar {
  explicit Registrar(const Decoder& decoder);
};

}  // namespace freeimage
