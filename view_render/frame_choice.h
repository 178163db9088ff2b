#pragma once
// Which pre-rendered frames can draw a zoom ratio, best first.
#include <optional>
#include <string>

namespace view_render {

// 'A' = the frame at twice the fit ratio, 'B' = four times, 'F' = actual size, 'f' = the fit frame,
// which always ends the list.
[[nodiscard]] std::string FramesToTry(float ratio, std::optional<float> a, std::optional<float> b);
// The ratios of the zoom frames a fit ratio gets: 2x and 4x while below 1.0, then 1.0.
struct ZoomFramePlan {
  std::optional<float> a, b;
};
[[nodiscard]] ZoomFramePlan PlanZoomFrames(float fit_ratio);
// Pictures up to this many pixels get their frames on the UI thread.
inline constexpr long long kSynchronousPixels = 1640960;
[[nodiscard]] constexpr bool IsSmallPicture(long long width, long long height) {
  return width * height <= kSynchronousPixels;
}

}  // namespace view_render
