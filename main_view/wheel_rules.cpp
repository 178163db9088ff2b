#include "main_view/wheel_rules.h"

namespace main_view {

WheelDecision DecideWheel(int action, WORD keys, bool alt_down, int delta) {
  if (keys & MK_CONTROL) action = action != 1 ? 1 : 0;
  if (alt_down) return {delta > 0 ? WheelOutcome::kScrollUp : WheelOutcome::kScrollDown};
  if (action == 1) return {WheelOutcome::kZoom, delta / 120};
  return {delta > 0 ? WheelOutcome::kPrevious : WheelOutcome::kNext};
}

}  // namespace main_view
