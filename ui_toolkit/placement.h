#pragma once
// Where a dialog goes: centred on its owner, or on the work area when the owner is missing, hidden or
// minimised, and in any case kept inside the work area.
#include <optional>

#include "ui_toolkit/attribute_values.h"

namespace ui_toolkit {

// Top-left corner for a window of the given size. owner is the owner's window rectangle when it can be
// centred on; work is the work area of the owner's (or the primary) monitor.
[[nodiscard]] Rect CentreDialog(Size size, const std::optional<Rect>& owner, const Rect& work);

}  // namespace ui_toolkit
