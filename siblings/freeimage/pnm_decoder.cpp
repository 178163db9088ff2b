// Portable anymap: P1-P3 (text) and P4-P6 (binary) bitmaps, grey maps and pixmaps, up to 16 bits.
#include <cctype>

#include "siblings/freeimage/decoder.h"

namespace freeimage {
namespace {

class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> b) : b_(b) {}
  // The next decimal number of the header or of a text raster; false at the end or on anything else.
  bool Number(long long& v) {
    for (;;) {
      while (at_ < b_.size() && std::isspace(b_[at_])) ++at_;
      if (at_ < b_.size() && b_[at_] == '#') {
        while (at_ < b_.size() && b_[at_] != '\n' && b_[at_] != '\r') ++at_;
        continue;
      }
      break;
    }
    if (at_ >= b_.size() || !std::isdigit(b_[at_])) return false;
    v = 0;
    while (at_ < b_.size() && std::isdigit(b_[at_])) {
      v = v * 10 + (b_[at_++] - '0');
      if (v > 1 << 20) return false;
    }
    return true;
  }
  // A text bitmap's digits may touch each other.
  bool Bit(int& v) {
    while (at_ < b_.size() && (std::isspace(b_[at_]) || b_[at_] == '#')) {
      if (b_[at_] == '#')
        while (at_ < b_.size() && b_[at_] != '\n') ++at_;
      else
        ++at_;
    }
    if (at_ >= b_.size() || (b_[at_] != '0' && b_[at_] != '1')) return false;
    v = b_[at_++] - '0';
    return true;
  }
  void SkipOneSpace() { ++at_; }
  [[nodiscard]] size_t at() const { return at_; }

 private:
  std::span<const std::uint8_t> b_;
  size_t at_ = 2;
};

std::uint32_t Grey(std::uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

bool Decode(std::span<const std::uint8_t> b, Picture& out) {
  const int kind = b[1] - '0';
  Cursor c(b);
  long long w = 0, h = 0, max = 1;
  if (!c.Number(w) || !c.Number(h)) return false;
  if (kind != 1 && kind != 4 && (!c.Number(max) || max < 1 || max > 65535)) return false;
  if (!out.Allocate(w, h)) return false;
  const auto scale = [max](long long v) { return static_cast<std::uint32_t>(std::min(v, max) * 255 / max); };
  const size_t pixels = static_cast<size_t>(w * h);
  if (kind <= 3) {
    const int channels = kind == 3 ? 3 : 1;
    for (size_t i = 0; i < pixels; ++i) {
      std::uint32_t rgb[3] = {0, 0, 0};
      for (int ch = 0; ch < channels; ++ch) {
        long long v = 0;
        int bit = 0;
        if (kind == 1 ? !c.Bit(bit) : !c.Number(v)) return i > 0;  // a short file keeps what it had
        rgb[ch] = kind == 1 ? (bit ? 0u : 255u) : scale(v);
      }
      out.bgra[i] = channels == 1 ? Grey(rgb[0]) : (0xFF000000u | rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
    }
    return true;
  }
  c.SkipOneSpace();  // the single white-space character before the raster
  size_t at = c.at();
  if (kind == 4) {
    const size_t row = static_cast<size_t>((w + 7) / 8);
    for (long long y = 0; y < h; ++y)
      for (long long x = 0; x < w; ++x) {
        const size_t byte = at + static_cast<size_t>(y) * row + static_cast<size_t>(x / 8);
        if (byte >= b.size()) return y > 0;
        const bool black = (b[byte] >> (7 - x % 8)) & 1;
        out.bgra[static_cast<size_t>(y * w + x)] = Grey(black ? 0 : 255);
      }
    return true;
  }
  const int channels = kind == 6 ? 3 : 1;
  const int sample = max > 255 ? 2 : 1;
  for (size_t i = 0; i < pixels; ++i) {
    std::uint32_t rgb[3] = {0, 0, 0};
    for (int ch = 0; ch < channels; ++ch) {
      if (at + sample > b.size()) return i > 0;
      const long long v = sample == 2 ? (b[at] << 8 | b[at + 1]) : b[at];
      at += sample;
      rgb[ch] = scale(v);
    }
    out.bgra[i] = channels == 1 ? Grey(rgb[0]) : (0xFF000000u | rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
  }
  return true;
}

bool Knows(std::span<const std::uint8_t> b, std::wstring_view) {
  return b.size() >= 3 && b[0] == 'P' && b[1] >= '1' && b[1] <= '6' && std::isspace(b[2]);
}

const Registrar registered({"pnm", Knows, Decode});

}  // namespace
}  // namespace freeimage
