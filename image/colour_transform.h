#pragma once
// Colour management of decoded pixels with lcms2: an embedded ICC profile to sRGB (for display), or
// sRGB to the profile (to take the shell's colour management out again). Transforms are made once per
// profile and kept; a profile that is sRGB itself is recognised and costs nothing.
// Any thread: the cache takes a lock, transforms are used without one.
#include <cstdint>
#include <span>

#include "image/bgra_buffer.h"

namespace image {

enum class ColourDirection { kToSrgb, kFromSrgb };

// False when the profile cannot be used (unreadable, not RGB): the pixels are left as they are.
bool TransformColours(std::span<const std::uint8_t> profile, ColourDirection direction, BgraBuffer& pixels);
// Whether the profile describes sRGB (primaries, white and tone curves), so no transform is needed.
[[nodiscard]] bool IsSrgbProfile(std::span<const std::uint8_t> profile);

}  // namespace image
