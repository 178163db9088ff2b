#include "image/orientation.h"

namespace image {

std::uint32_t OrientationToTransform(int orientation) {
  switch (orientation) {
    case 2: return 8;
    case 3: return 2;
    case 4: return 16;
    case 5: return 17;
    case 6: return 1;
    case 7: return 9;
    case 8: return 3;
    default: return 0;
  }
}

void ApplyTransform(const BgraBuffer& in, std::uint32_t transform, BgraBuffer& out) {
  // The flip comes first, then the clockwise rotation, as WIC combines them: rotate 90 + flip vertical
  // is the transpose that orientation 5 asks for.
  const int rotation = static_cast<int>(transform & 3);
  const bool flip_h = (transform & 8) != 0, flip_v = (transform & 16) != 0;
  const int w = in.width, h = in.height;
  const bool turns = (rotation & 1) != 0;
  BgraBuffer result;
  result.Resize(turns ? h : w, turns ? w : h);
  for (int y = 0; y < result.height; ++y) {
    std::uint32_t* dst = result.Row(y);
    for (int x = 0; x < result.width; ++x) {
      // Undo the rotation: the pixel of the flipped picture that lands here.
      int fx = x, fy = y;
      switch (rotation) {
        case 1: fx = y, fy = h - 1 - x; break;          // 90 clockwise
        case 2: fx = w - 1 - x, fy = h - 1 - y; break;  // 180
        case 3: fx = w - 1 - y, fy = x; break;          // 270 clockwise
        default: break;
      }
      // Undo the flip.
      const int sx = flip_h ? w - 1 - fx : fx;
      const int sy = flip_v ? h - 1 - fy : fy;
      dst[x] = in.Row(sy)[sx];
    }
  }
  out = std::move(result);
}

int OrientationPolicy(int stored, bool windows8_or_later, bool orientation_by_tag) {
  return windows8_or_later || orientation_by_tag ? stored : 0;
}

}  // namespace image
