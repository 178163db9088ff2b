#include "view_render/frame_choice.h"

namespace view_render {

std::string FramesToTry(float ratio, std::optional<float> a, std::optional<float> b) {
  std::string order;
  if (b) order = ratio > *b ? "FB" : (a && ratio > *a) ? "B" : "A";
  else if (!a) order = "F";
  else order = ratio > *a ? "FA" : "A";
  return order + "f";
}

ZoomFramePlan PlanZoomFrames(float fit) {
  ZoomFramePlan plan;
  if (2 * fit < 1.0f) {
    plan.a = 2 * fit;
    if (4 * fit < 1.0f) plan.b = 4 * fit;
  }
  return plan;
}

}  // namespace view_render
