#pragma once
// The header segments of a JPEG file, read without decoding: markers up to the start of the scan, the
// ICC profile carried in APP2 "ICC_PROFILE" chunks, and the JFIF density. Pure and bounds-checked.
#include <cstdint>
#include <span>
#include <vector>

namespace image {

struct JpegSegment {
  std::uint8_t marker = 0;                 // 0xE0 for APP0 and so on
  std::span<const std::uint8_t> body;      // after the length field
};

// The segments before the first scan; stops quietly at the first damage.
[[nodiscard]] std::vector<JpegSegment> JpegHeaderSegments(std::span<const std::uint8_t> jpeg);
// The embedded profile, its chunks joined in sequence order; empty when chunks are missing or repeated.
[[nodiscard]] std::vector<std::uint8_t> JpegIccProfile(std::span<const std::uint8_t> jpeg);
// Horizontal dots per inch from the JFIF header; 96 when there is none or it gives only an aspect ratio.
[[nodiscard]] double JpegResolution(std::span<const std::uint8_t> jpeg);

}  // namespace image
