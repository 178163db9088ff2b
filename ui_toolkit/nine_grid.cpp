#include "ui_toolkit/nine_grid.h"

#include <algorithm>

namespace ui_toolkit {
namespace {

struct Cuts {
  int at[4];
};

// Splits [from, to) at the two corner widths, clamped so the corners fit and never cross.
Cuts Split(int from, int to, int first, int second) {
  const int length = std::max(0, to - from);
  first = std::max(first, 0);
  second = std::max(second, 0);
  if (first + second > length) {
    // Share the room in proportion to the corner widths.
    const int total = first + second;
    first = static_cast<int>(static_cast<long long>(length) * first / total);
    second = length - first;
  }
  return {{from, from + first, to - second, to}};
}

}  // namespace

std::vector<NineGridPart> NineGrid(const Rect& source, const Rect& dest, const Rect& corner) {
  std::vector<NineGridPart> parts;
  if (source.empty() || dest.empty()) return parts;
  const Cuts sx = Split(source.left, source.right, corner.left, corner.right);
  const Cuts sy = Split(source.top, source.bottom, corner.top, corner.bottom);
  // The target's corners are as wide as the source's unless the target is too small for them.
  const Cuts dx = Split(dest.left, dest.right, sx.at[1] - sx.at[0], sx.at[3] - sx.at[2]);
  const Cuts dy = Split(dest.top, dest.bottom, sy.at[1] - sy.at[0], sy.at[3] - sy.at[2]);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) {
      NineGridPart p{{dx.at[col], dy.at[row], dx.at[col + 1], dy.at[row + 1]},
                     {sx.at[col], sy.at[row], sx.at[col + 1], sy.at[row + 1]}};
      if (!p.dest.empty() && !p.source.empty()) parts.push_back(p);
    }
  return parts;
}

}  // namespace ui_toolkit
