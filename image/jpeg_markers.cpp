#include "image/jpeg_markers.h"

#include <algorithm>
#include <cstring>

namespace image {

std::vector<JpegSegment> JpegHeaderSegments(std::span<const std::uint8_t> jpeg) {
  std::vector<JpegSegment> segments;
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return segments;
  size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) break;
    const std::uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;
      continue;
    }
    const size_t length = size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
    if (length < 2 || at + 2 + length > jpeg.size()) break;
    segments.push_back({marker, jpeg.subspan(at + 4, length - 2)});
    at += 2 + length;
  }
  return segments;
}

std::vector<std::uint8_t> JpegIccProfile(std::span<const std::uint8_t> jpeg) {
  static constexpr char kId[] = "ICC_PROFILE";  // with its zero: 12 bytes
  std::vector<std::span<const std::uint8_t>> chunks;
  int declared = 0;
  for (const JpegSegment& s : JpegHeaderSegments(jpeg)) {
    if (s.marker != 0xE2 || s.body.size() < 14 || std::memcmp(s.body.data(), kId, 12) != 0) continue;
    const int sequence = s.body[12], count = s.body[13];
    if (count == 0 || sequence == 0 || sequence > count || (declared && declared != count)) return {};
    declared = count;
    chunks.resize(static_cast<size_t>(count));
    if (!chunks[static_cast<size_t>(sequence - 1)].empty()) return {};
    chunks[static_cast<size_t>(sequence - 1)] = s.body.subspan(14);
  }
  std::vector<std::uint8_t> profile;
  for (const auto& chunk : chunks) {
    if (chunk.empty()) return {};
    profile.insert(profile.end(), chunk.begin(), chunk.end());
  }
  return profile;
}

double JpegResolution(std::span<const std::uint8_t> jpeg) {
  for (const JpegSegment& s : JpegHeaderSegments(jpeg)) {
    if (s.marker != 0xE0 || s.body.size() < 12 || std::memcmp(s.body.data(), "JFIF\0", 5) != 0) continue;
    const int units = s.body[7];
    const int x_density = s.body[8] << 8 | s.body[9];
    if (x_density == 0) return 96;
    if (units == 1) return x_density;
    if (units == 2) return x_density * 2.54;
    return 96;
  }
  return 96;
}

}  // namespace image
