#pragma once
// Where the image view's items go and how their pictures are cut: the welcome pair, the centred tips,
// the three bands of a page-turn arrow and the loading sprite's frame. Plain arithmetic on rectangles.
#include <windows.h>

#include <array>

namespace main_view {

inline constexpr int kTipWidth = 180, kTipHeight = 50;

struct WelcomePlacement {
  RECT slogan{};
  RECT button{};
};
// The slogan centred 26 pixels above the middle, the button 87 pixels below it and 7 to the right.
[[nodiscard]] WelcomePlacement PlaceWelcome(SIZE client, SIZE slogan, SIZE button);
[[nodiscard]] RECT CentredTip(SIZE client);

// A horizontal band of the arrow picture drawn over rows of the item: source rows [src_top, src_bottom)
// onto item rows [dst_top, dst_bottom).
struct Band {
  int src_top, src_bottom, dst_top, dst_bottom;
};
// The picture's first and last five rows stretched over the ends of the item, the rest drawn unscaled
// in the middle.
[[nodiscard]] std::array<Band, 3> ArrowBands(int picture_height, int item_height);

// A square frame fitted into the item: scaled down keeping its shape when the item is smaller, then
// centred. Item coordinates.
[[nodiscard]] RECT FitFrame(int item_width, int item_height, int frame_side);

}  // namespace main_view
