#include <gtest/gtest.h>

#include "ui_toolkit/nine_grid.h"

using namespace ui_toolkit;

namespace {

int Area(const Rect& r) { return r.width() * r.height(); }

}  // namespace

TEST(NineGrid, CornersKeepTheirSizeAndTheRestStretches) {
  // A 30 x 30 shadow with 10-pixel corners around a 410 x 200 window.
  const auto parts = NineGrid({0, 0, 30, 30}, {0, 0, 410, 200}, {10, 10, 10, 10});
  ASSERT_EQ(parts.size(), 9u);
  EXPECT_EQ(parts[0].dest, (Rect{0, 0, 10, 10}));
  EXPECT_EQ(parts[0].source, (Rect{0, 0, 10, 10}));
  EXPECT_EQ(parts[2].dest, (Rect{400, 0, 410, 10}));
  EXPECT_EQ(parts[2].source, (Rect{20, 0, 30, 10}));
  EXPECT_EQ(parts[4].dest, (Rect{10, 10, 400, 190}));
  EXPECT_EQ(parts[4].source, (Rect{10, 10, 20, 20}));
  EXPECT_EQ(parts[8].dest, (Rect{400, 190, 410, 200}));
  int area = 0;
  for (const NineGridPart& p : parts) area += Area(p.dest);
  EXPECT_EQ(area, 410 * 200) << "the parts tile the target exactly";
}

TEST(NineGrid, EdgeSizes) {
  struct Case {
    const char* what;
    Rect source, dest, corner;
    size_t parts;
    int first_width;  // width of the first part drawn
    bool tiles = true;  // the parts cover the target exactly
  };
  const Case cases[] = {
      {"no corners: one stretched part", {0, 0, 30, 30}, {0, 0, 100, 50}, {0, 0, 0, 0}, 1, 100},
      {"target exactly the corners: no middle", {0, 0, 30, 30}, {0, 0, 20, 20}, {10, 10, 10, 10}, 4, 10},
      {"target smaller than the corners: they share it", {0, 0, 30, 30}, {0, 0, 8, 8}, {10, 10, 10, 10}, 4, 4},
      {"a corner wider than the source is clamped, nothing left to stretch", {0, 0, 30, 30}, {0, 0, 100, 100},
       {40, 0, 0, 0}, 1, 30, false},
      {"uneven corners shrink in proportion", {0, 0, 30, 30}, {0, 0, 10, 30}, {15, 0, 5, 0}, 2, 7},
      {"an empty target draws nothing", {0, 0, 30, 30}, {5, 5, 5, 50}, {10, 10, 10, 10}, 0, 0},
      {"an empty source draws nothing", {0, 0, 0, 30}, {0, 0, 50, 50}, {10, 10, 10, 10}, 0, 0},
  };
  for (const Case& c : cases) {
    const auto parts = NineGrid(c.source, c.dest, c.corner);
    ASSERT_EQ(parts.size(), c.parts) << c.what;
    if (parts.empty()) continue;
    EXPECT_EQ(parts[0].dest.width(), c.first_width) << c.what;
    int area = 0;
    for (const NineGridPart& p : parts) {
      area += Area(p.dest);
      EXPECT_GE(p.source.left, c.source.left) << c.what;
      EXPECT_LE(p.source.right, c.source.right) << c.what;
    }
    if (c.tiles) {
      EXPECT_EQ(area, Area(c.dest)) << c.what;
    }
  }
}
