#pragma once
// The EXIF orientation (1 = upright) as a flip/rotate transform, and that transform applied to a picture.
#include <cstdint>

#include "image/bgra_buffer.h"

namespace image {

// WICBitmapTransformOptions values: rotate 90 = 1, 180 = 2, 270 = 3, flip horizontal = 8, vertical = 16.
[[nodiscard]] std::uint32_t OrientationToTransform(int orientation);
[[nodiscard]] constexpr bool TransformTurns(std::uint32_t transform) { return (transform & 1) != 0; }
// Flips, then rotates clockwise: what WIC's flip/rotator does with the same value.
void ApplyTransform(const BgraBuffer& in, std::uint32_t transform, BgraBuffer& out);
// The orientation that stays in force after opening.
[[nodiscard]] int OrientationPolicy(int stored, bool windows8_or_later, bool orientation_by_tag);

}  // namespace image
