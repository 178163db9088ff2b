#pragma once
// Where the main window's children go in a client area of W x H: the caption strip on top, the toolbar
// at the bottom (docked) or under the caption, the image view in between, the caption buttons at the
// top right and the menu bar left of them. Plain arithmetic.
#include <windows.h>

namespace main_view {

inline constexpr int kCaptionHeight = 31;

struct MainLayout {
  RECT toolbar{}, view{}, close{}, maximise{}, minimise{}, menubar{};
};

[[nodiscard]] MainLayout ComputeMainLayout(int width, int height, bool toolbar_docked_at_bottom);
// The title text starts this far from the client's left edge, 16 pixels right of the logo's width.
[[nodiscard]] inline int TitleLeft(int logo_client_width) { return logo_client_width + 16; }

}  // namespace main_view
