#pragma once
// Nine-grid stretching: the corners of a picture keep their size, the edges stretch along one axis and
// the middle along both. Corners wider than the target shrink to share it, so nothing is drawn twice.
#include <vector>

#include "ui_toolkit/attribute_values.h"

namespace ui_toolkit {

struct NineGridPart {
  Rect dest;
  Rect source;
};

// corner holds the left, top, right and bottom widths, in source pixels. Empty parts are left out.
[[nodiscard]] std::vector<NineGridPart> NineGrid(const Rect& source, const Rect& dest, const Rect& corner);

}  // namespace ui_toolkit
