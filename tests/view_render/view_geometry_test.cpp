#include <gtest/gtest.h>

#include "view_render/view_geometry.h"

using namespace view_render;

TEST(ViewZoom, FitAndPlacement) {
  CViewZoom small(400, 300);
  ASSERT_TRUE(small.SetViewSize(800, 600, {}));
  EXPECT_FLOAT_EQ(small.fit_ratio(), 1.0f) << "never enlarged";
  EXPECT_EQ(small.geometry().zoomed_width, 400);
  EXPECT_EQ(small.geometry().destination, (IntRect{200, 150, 600, 450}));
  EXPECT_EQ(small.geometry().overflow_x, 0);

  CViewZoom big(4000, 3000);
  big.SetViewSize(800, 600, {});
  EXPECT_FLOAT_EQ(big.fit_ratio(), 0.2f);
  EXPECT_EQ(big.geometry().zoomed_width, 800);
  ASSERT_TRUE(big.ToggleFitCenter());
  EXPECT_FLOAT_EQ(big.ratio(), 1.0f);
  EXPECT_EQ(big.geometry().overflow_x, 3200);
  EXPECT_EQ(big.geometry().overflow_y, 2400);
  EXPECT_EQ(big.geometry().source.left, 1600);
  EXPECT_EQ(big.geometry().source.top, 1200);
  EXPECT_EQ(big.geometry().source, (IntRect{1600, 1200, 2400, 1800}));
  ASSERT_TRUE(big.ToggleFitCenter());
  EXPECT_FLOAT_EQ(big.ratio(), 0.2f);
}

TEST(ViewZoom, DoubleClickActions) {
  CViewZoom zoom(4000, 3000);
  zoom.SetViewSize(800, 600, {});
  ASSERT_TRUE(zoom.ToggleFitAt(100, 100));
  EXPECT_FLOAT_EQ(zoom.ratio(), 0.4f) << "twice the fit by default";
  ASSERT_TRUE(zoom.ToggleFitAt(100, 100));
  EXPECT_FLOAT_EQ(zoom.ratio(), 0.2f);
  CViewZoom actual(4000, 3000);
  actual.SetViewSize(800, 600, {8, true});
  ASSERT_TRUE(actual.ToggleFitAt(100, 100));
  EXPECT_FLOAT_EQ(actual.ratio(), 1.0f);
  // The picture point under the click stays under it: (100, 100) at 0.2 is (500, 500) of the picture.
  EXPECT_EQ(actual.geometry().source.left, 400);
  EXPECT_EQ(actual.geometry().source.top, 400);
}

TEST(ViewZoom, ZoomStepsAndBounds) {
  struct Case {
    int picture_w, picture_h, steps, max;
    float expected;
  };
  const Case cases[] = {
      {4000, 3000, 1, 8, 0.22f},    // from a fit of 0.2
      {4000, 3000, -3, 8, 0.14f},
      {26667, 20000, -1, 8, 0.03f},  // a fit of 0.03 is the lower bound
      {400, 300, 100, 8, 8.0f},      // stops exactly at the maximum
      {400, 300, 400, 32, 32.0f},
  };
  for (const Case& c : cases) {
    CViewZoom zoom(c.picture_w, c.picture_h);
    zoom.SetViewSize(800, 600, {c.max, false});
    zoom.ZoomBy(c.steps, 400, 300, {c.max, false});
    EXPECT_NEAR(zoom.ratio(), c.expected, 0.0005f) << c.picture_w << " " << c.steps;
  }
  CViewZoom zoom(400, 300);
  zoom.SetViewSize(800, 600, {});
  EXPECT_FALSE(zoom.SetZoom(1.0005f, 0, 0)) << "the same zoomed size: nothing to do";
}

TEST(ViewZoom, PanStopsAtTheEdgesAndNotWhereThePictureFits) {
  CViewZoom zoom(4000, 600);
  zoom.SetViewSize(800, 600, {});
  zoom.SetZoom(1.0f, 0, 0);  // 4000 x 600: overflow only horizontally
  EXPECT_EQ(zoom.geometry().source.left, 0);
  EXPECT_EQ(zoom.Pan(100, 0), std::nullopt) << "at the left edge already";
  const auto moved = zoom.Pan(-150, 40);
  ASSERT_TRUE(moved.has_value());
  EXPECT_EQ(*moved, (IntPoint{-150, 0})) << "no vertical room: only horizontal";
  EXPECT_EQ(zoom.geometry().source.left, 150);
  zoom.Pan(-100000, 0);
  EXPECT_EQ(zoom.geometry().source.right, 4000) << "stops at the right edge";
  EXPECT_EQ(zoom.geometry().source.left, 3200);
}

TEST(ViewZoom, SameSizeKeepsTheZoomAndLongPicturesStartAtTheTop) {
  CViewZoom zoom(4000, 3000);
  zoom.SetViewSize(800, 600, {});
  zoom.SetZoom(1.0f, 400, 300);
  EXPECT_FALSE(zoom.SetViewSize(800, 600, {}));
  EXPECT_FLOAT_EQ(zoom.ratio(), 1.0f);
  EXPECT_TRUE(zoom.SetViewSize(801, 600, {}));
  EXPECT_NEAR(zoom.ratio(), 0.2f, 0.001f) << "back to fit";

  CViewZoom tall(1000, 5000);
  tall.SetViewSize(800, 600, {});
  tall.SetZoom(1.0f, 0, 0);
  EXPECT_EQ(tall.geometry().source.left, 0);
  EXPECT_EQ(tall.geometry().source.top, 0);
}

#include "view_render/frame_choice.h"

TEST(KeyFrames, PlansAndChoices) {
  const ZoomFramePlan fit06 = PlanZoomFrames(0.6f);
  EXPECT_FALSE(fit06.a.has_value()) << "2 x 0.6 is not below 1: only the actual-size frame";
  EXPECT_FALSE(fit06.b.has_value());
  const ZoomFramePlan fit02 = PlanZoomFrames(0.2f);
  ASSERT_TRUE(fit02.a && fit02.b);
  EXPECT_FLOAT_EQ(*fit02.a, 0.4f);
  EXPECT_FLOAT_EQ(*fit02.b, 0.8f);
  const ZoomFramePlan fit03 = PlanZoomFrames(0.3f);
  EXPECT_TRUE(fit03.a.has_value());
  EXPECT_FALSE(fit03.b.has_value()) << "4 x 0.3 is above 1";

  struct Case {
    float ratio;
    std::optional<float> a, b;
    const char* expected;
  };
  const Case cases[] = {
      {0.5f, 0.4f, 0.8f, "Bf"},  {0.9f, 0.4f, 0.8f, "FBf"}, {0.3f, 0.4f, 0.8f, "Af"},
      {0.5f, 0.4f, {}, "FAf"},   {0.35f, 0.4f, {}, "Af"},   {0.7f, {}, {}, "Ff"},
  };
  for (const Case& c : cases) EXPECT_EQ(FramesToTry(c.ratio, c.a, c.b), c.expected) << c.ratio;

  EXPECT_TRUE(IsSmallPicture(1280, 1282));
  EXPECT_FALSE(IsSmallPicture(1281, 1281));
}
