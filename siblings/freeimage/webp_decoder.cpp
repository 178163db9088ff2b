// WebP through libwebp's decoder.
#include <webp/decode.h>

#include <cstring>

#include "siblings/freeimage/decoder.h"

namespace freeimage {
namespace {

bool Decode(std::span<const std::uint8_t> b, Picture& out) {
  int w = 0, h = 0;
  if (!WebPGetInfo(b.data(), b.size(), &w, &h) || !out.Allocate(w, h)) return false;
  return WebPDecodeBGRAInto(b.data(), b.size(), reinterpret_cast<std::uint8_t*>(out.bgra.data()),
                            out.bgra.size() * 4, w * 4) != nullptr;
}

bool Knows(std::span<const std::uint8_t> b, std::wstring_view) {
  return b.size() >= 12 && std::memcmp(b.data(), "RIFF", 4) == 0 && std::memcmp(b.data() + 8, "WEBP", 4) == 0;
}

const Registrar registered({"webp", Knows, Decode});

}  // namespace
}  // namespace freeimage
