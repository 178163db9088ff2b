// Truevision TGA: true colour, grey and colour-mapped pictures, plain or run-length encoded, in any of
// the four origins. TGA has no signature, so the extension decides.
#include "siblings/freeimage/decoder.h"

namespace freeimage {
namespace {

std::uint32_t Pixel(const std::uint8_t* p, int bytes, bool grey) {
  switch (bytes) {
    case 1: return grey ? (0xFF000000u | p[0] << 16 | p[0] << 8 | p[0]) : p[0];
    case 2: {
      const std::uint32_t v = p[0] | p[1] << 8;
      const auto five = [](std::uint32_t c) { return (c << 3) | (c >> 2); };
      return 0xFF000000u | five((v >> 10) & 31) << 16 | five((v >> 5) & 31) << 8 | five(v & 31);
    }
    case 3: return 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
    default: return std::uint32_t{p[3]} << 24 | p[2] << 16 | p[1] << 8 | p[0];
  }
}

bool Decode(std::span<const std::uint8_t> b, Picture& out) {
  if (b.size() < 18) return false;
  const int id_length = b[0], map_type = b[1], type = b[2];
  const int map_first = b[3] | b[4] << 8, map_length = b[5] | b[6] << 8, map_bits = b[7];
  const int w = b[12] | b[13] << 8, h = b[14] | b[15] << 8, bits = b[16], descriptor = b[17];
  const int base = type & 7;
  const bool rle = (type & 8) != 0;
  if ((base != 1 && base != 2 && base != 3) || (type & ~0xB) != 0) return false;
  if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
  const int bytes = (bits + 7) / 8;
  size_t at = 18 + static_cast<size_t>(id_length);
  std::vector<std::uint32_t> palette;
  if (map_type == 1) {
    const int entry = (map_bits + 7) / 8;
    if (entry < 2 || entry > 4) return false;
    if (at + static_cast<size_t>(map_length) * entry > b.size()) return false;
    for (int i = 0; i < map_length; ++i) palette.push_back(Pixel(b.data() + at + static_cast<size_t>(i) * entry, entry, false));
    at += static_cast<size_t>(map_length) * entry;
  }
  if (base == 1 && (palette.empty() || bytes > 2)) return false;
  if (!out.Allocate(w, h)) return false;
  const auto colour = [&](const std::uint8_t* p) -> std::uint32_t {
    if (base != 1) return Pixel(p, bytes, base == 3);
    const int index = (bytes == 1 ? p[0] : (p[0] | p[1] << 8)) - map_first;
    return index >= 0 && index < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(index)] : 0xFF000000u;
  };
  // 32-bit pictures whose attribute bits say "no alpha" are opaque.
  const bool alpha = bits == 32 && (descriptor & 15) != 0;
  const size_t total = static_cast<size_t>(w) * h;
  size_t i = 0;
  while (i < total) {
    if (!rle) {
      if (at + bytes > b.size()) break;
      out.bgra[i++] = colour(b.data() + at);
      at += bytes;
      continue;
    }
    if (at >= b.size()) break;
    const int header = b[at++];
    const size_t run = static_cast<size_t>(header & 0x7F) + 1;
    if (header & 0x80) {
      if (at + bytes > b.size()) break;
      const std::uint32_t c = colour(b.data() + at);
      at += bytes;
      for (size_t k = 0; k < run && i < total; ++k) out.bgra[i++] = c;
    } else {
      for (size_t k = 0; k < run && i < total; ++k) {
        if (at + bytes > b.size()) break;
        out.bgra[i++] = colour(b.data() + at);
        at += bytes;
      }
    }
  }
  if (i == 0) return false;
  if (!alpha)
    for (std::uint32_t& p : out.bgra) p |= 0xFF000000u;
  // Rows are stored bottom-up unless bit 5 says top-down; right-to-left when bit 4 is set.
  const bool top_down = descriptor & 0x20, right_to_left = descriptor & 0x10;
  if (!top_down)
    for (int y = 0; y < h / 2; ++y)
      for (int x = 0; x < w; ++x)
        std::swap(out.bgra[static_cast<size_t>(y) * w + x], out.bgra[static_cast<size_t>(h - 1 - y) * w + x]);
  if (right_to_left)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w / 2; ++x)
        std::swap(out.bgra[static_cast<size_t>(y) * w + x], out.bgra[static_cast<size_t>(y) * w + (w - 1 - x)]);
  return true;
}

bool Knows(std::span<const std::uint8_t>, std::wstring_view extension) {
  return extension == L"tga" || extension == L"targa" || extension == L"icb" || extension == L"vda";
}

const Registrar registered({"tga", Knows, Decode});

}  // namespace
}  // namespace freeimage
