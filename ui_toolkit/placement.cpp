#include "ui_toolkit/placement.h"

#include <algorithm>

namespace ui_toolkit {

Rect CentreDialog(Size size, const std::optional<Rect>& owner, const Rect& work) {
  const Rect& around = owner ? *owner : work;
  int left = around.left + (around.width() - size.cx) / 2;
  int top = around.top + (around.height() - size.cy) / 2;
  // Larger than the work area: its top-left corner stays visible.
  left = std::max(work.left, std::min(left, work.right - size.cx));
  top = std::max(work.top, std::min(top, work.bottom - size.cy));
  return {left, top, left + size.cx, top + size.cy};
}

}  // namespace ui_toolkit
