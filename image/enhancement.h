#pragma once
// The one-click enhancement applied to every picture the view gets: the process-wide current mode
// (0 none, 1 brighter, 2 more colourful, 3 sharper) and the call that applies it to an image in place.
// The mode is set on the UI thread and read by workers.
#include <atomic>

#include "image/obj_image.h"

namespace image {

void SetEnhancementMode(int mode);
[[nodiscard]] int EnhancementMode();
// Applies the current mode; running, when given, is the task's flag that stops a long run early.
// Modes 1-3 are the effects module's; until it is there, only mode 0 exists and nothing changes.
void ApplyEnhancement(FCObjImage& image, const std::atomic<int>* running = nullptr);

}  // namespace image
