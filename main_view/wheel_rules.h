#pragma once
// What one turn of the mouse wheel does in the image view, from the chosen wheel action (0 turns pages,
// 1 zooms), the key flags of the message, whether Alt is down and the signed delta.
#include <windows.h>

namespace main_view {

enum class WheelOutcome { kScrollUp, kScrollDown, kZoom, kPrevious, kNext };

struct WheelDecision {
  WheelOutcome outcome;
  int zoom_steps = 0;  // for kZoom: delta / 120, truncated
};

// Ctrl swaps the action; Alt scrolls whatever the action.
[[nodiscard]] WheelDecision DecideWheel(int action, WORD keys, bool alt_down, int delta);

}  // namespace main_view
