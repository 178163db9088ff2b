// Placement of a control tree: horizontal and vertical flows with fixed and shared sizes, stacked list
// elements, tab pages over each other, and floating controls at their "pos" inside the parent.
#include <algorithm>
#include <vector>

#include "ui_toolkit/layout_document.h"

namespace ui_toolkit {
namespace {

Rect Shrink(const Rect& r, const Rect& by) {
  Rect out{r.left + by.left, r.top + by.top, r.right - by.right, r.bottom - by.bottom};
  out.right = std::max(out.right, out.left);
  out.bottom = std::max(out.bottom, out.top);
  return out;
}

// One flow direction, written once for both: "main" is x for horizontal layouts and y for vertical ones.
// default_main is the size along the flow of an item that names none (list elements); 0 shares the space.
void Flow(const std::vector<CControlUI*>& items, const Rect& inner, int gap, bool horizontal, int default_main = 0) {
  const auto fixed_main = [&](const CControlUI* c) {
    const int own = horizontal ? c->fixed_width : c->fixed_height;
    return own > 0 ? own : default_main;
  };
  const auto margins = [&](const CControlUI* c) {
    return horizontal ? c->padding.left + c->padding.right : c->padding.top + c->padding.bottom;
  };
  const int extent = horizontal ? inner.width() : inner.height();
  int used = gap * std::max(0, static_cast<int>(items.size()) - 1);
  int flexible = 0;
  for (const CControlUI* c : items) {
    used += margins(c) + std::max(0, fixed_main(c));
    if (fixed_main(c) <= 0) ++flexible;
  }
  const int spare = std::max(0, extent - used);
  int pos = horizontal ? inner.left : inner.top;
  int flexible_seen = 0;
  for (CControlUI* c : items) {
    int size = fixed_main(c);
    if (size <= 0) {
      ++flexible_seen;
      // The last flexible item takes the rounding remainder, so the flow fills the container exactly.
      size = flexible_seen == flexible ? spare - (spare / flexible) * (flexible - 1) : spare / flexible;
    }
    if (horizontal) {
      const int left = pos + c->padding.left;
      const int top = inner.top + c->padding.top;
      const int height = c->fixed_height > 0 ? c->fixed_height : inner.height() - c->padding.top - c->padding.bottom;
      c->rect = {left, top, left + size, top + std::max(0, height)};
      pos = left + size + c->padding.right + gap;
    } else {
      const int top = pos + c->padding.top;
      const int left = inner.left + c->padding.left;
      const int width = c->fixed_width > 0 ? c->fixed_width : inner.width() - c->padding.left - c->padding.right;
      c->rect = {left, top, left + std::max(0, width), top + size};
      pos = top + size + c->padding.bottom + gap;
    }
  }
}

}  // namespace

void ArrangeChildren(CControlUI& control) {
  const Rect inner = Shrink(control.rect, control.inset);
  std::vector<CControlUI*> flow;
  for (const auto& child : control.children()) {
    CControlUI* c = child.get();
    if (c->is_float) {
      const int width = c->fixed_width > 0 ? c->fixed_width : c->float_pos.width();
      const int height = c->fixed_height > 0 ? c->fixed_height : c->float_pos.height();
      const int left = control.rect.left + c->float_pos.left, top = control.rect.top + c->float_pos.top;
      c->rect = {left, top, left + std::max(0, width), top + std::max(0, height)};
    } else if (!c->visible && control.kind() != ControlKind::kTabLayout) {
      c->rect = {};
    } else {
      flow.push_back(c);
    }
  }

  switch (control.kind()) {
    case ControlKind::kHorizontalLayout:
      Flow(flow, inner, control.child_padding, true);
      break;
    case ControlKind::kTabLayout:
      for (CControlUI* c : flow) c->rect = Shrink(inner, c->padding);
      break;
    case ControlKind::kCombo:
      // The elements are the rows of the drop-down window, not part of the combo's face.
      for (CControlUI* c : flow) c->rect = {};
      break;
    case ControlKind::kList:
      Flow(flow, inner, control.child_padding, false, control.item_height);
      break;
    default:
      Flow(flow, inner, control.child_padding, false);
      break;
  }
  for (const auto& child : control.children()) ArrangeChildren(*child);
}

void ArrangeLayout(CControlUI& root, int width, int height) {
  root.rect = Shrink(Rect{0, 0, width, height}, root.padding);
  ArrangeChildren(root);
}

}  // namespace ui_toolkit
