#include <gtest/gtest.h>

#include "image/orientation.h"
#include "image/resample.h"

using namespace image;

namespace {

BgraBuffer Make(int w, int h, std::initializer_list<std::uint32_t> px) {
  BgraBuffer b;
  b.Resize(w, h);
  std::copy(px.begin(), px.end(), b.pixels.begin());
  return b;
}

std::uint32_t Grey(std::uint32_t v) { return 0xFF000000u | v << 16 | v << 8 | v; }

}  // namespace

TEST(Resample, ShrinkingAveragesByArea) {
  BgraBuffer out;
  ASSERT_TRUE(Resample(Make(2, 1, {Grey(0), Grey(255)}), 1, 1, ResampleFilter::kArea, out));
  EXPECT_EQ(out.pixels[0], Grey(128)) << "black and white give grey, not one of them";
  ASSERT_TRUE(Resample(Make(4, 1, {Grey(0), Grey(40), Grey(200), Grey(240)}), 2, 1, ResampleFilter::kCubic, out));
  EXPECT_EQ(out.pixels[0], Grey(20));
  EXPECT_EQ(out.pixels[1], Grey(220));
  // 3 -> 2: each target covers one and a half source pixels.
  ASSERT_TRUE(Resample(Make(3, 1, {Grey(0), Grey(90), Grey(180)}), 2, 1, ResampleFilter::kArea, out));
  EXPECT_EQ(out.pixels[0], Grey(30));
  EXPECT_EQ(out.pixels[1], Grey(150));
}

TEST(Resample, FlatStaysFlatAndSizesAreExact) {
  BgraBuffer flat;
  flat.Resize(37, 23);
  std::fill(flat.pixels.begin(), flat.pixels.end(), 0xFF1E32C8u);
  for (auto [w, h] : {std::pair{5, 3}, std::pair{100, 61}, std::pair{37, 1}, std::pair{1, 200}})
    for (ResampleFilter f : {ResampleFilter::kArea, ResampleFilter::kCubic, ResampleFilter::kLinear}) {
      BgraBuffer out;
      ASSERT_TRUE(Resample(flat, w, h, f, out));
      EXPECT_EQ(out.width, w);
      EXPECT_EQ(out.height, h);
      for (std::uint32_t p : out.pixels) ASSERT_EQ(p, 0xFF1E32C8u) << w << "x" << h;
    }
  BgraBuffer out;
  EXPECT_FALSE(Resample(flat, 0, 5, ResampleFilter::kArea, out));
  EXPECT_FALSE(Resample(BgraBuffer{}, 5, 5, ResampleFilter::kArea, out));
}

TEST(Resample, GrowingInterpolates) {
  BgraBuffer out;
  ASSERT_TRUE(Resample(Make(2, 1, {Grey(0), Grey(200)}), 4, 1, ResampleFilter::kLinear, out));
  EXPECT_EQ(out.pixels[0], Grey(0));
  EXPECT_EQ(out.pixels[1], Grey(50));
  EXPECT_EQ(out.pixels[2], Grey(150));
  EXPECT_EQ(out.pixels[3], Grey(200));
  ASSERT_TRUE(Resample(Make(2, 1, {Grey(0), Grey(255)}), 8, 1, ResampleFilter::kCubic, out));
  for (int i = 1; i < 8; ++i) EXPECT_GE(out.pixels[i] & 0xFF, out.pixels[i - 1] & 0xFF) << "monotonic, clamped";
}

TEST(Orientation, TransformsTurnTheStoredPictureUpright) {
  // The stored 3 x 2 picture for each orientation, and what upright looks like:  1 2 3
  //                                                                               4 5 6
  const std::vector<std::uint32_t> upright{1, 2, 3, 4, 5, 6};
  struct Case {
    int orientation;
    int w, h;
    std::vector<std::uint32_t> stored;
  };
  const Case cases[] = {
      {1, 3, 2, {1, 2, 3, 4, 5, 6}}, {2, 3, 2, {3, 2, 1, 6, 5, 4}}, {3, 3, 2, {6, 5, 4, 3, 2, 1}},
      {4, 3, 2, {4, 5, 6, 1, 2, 3}}, {5, 2, 3, {1, 4, 2, 5, 3, 6}}, {6, 2, 3, {3, 6, 2, 5, 1, 4}},
      {7, 2, 3, {6, 3, 5, 2, 4, 1}}, {8, 2, 3, {4, 1, 5, 2, 6, 3}},
  };
  for (const Case& c : cases) {
    BgraBuffer in;
    in.Resize(c.w, c.h);
    in.pixels = c.stored;
    BgraBuffer out;
    const std::uint32_t t = OrientationToTransform(c.orientation);
    EXPECT_EQ(TransformTurns(t), c.orientation >= 5) << c.orientation;
    if (t) ApplyTransform(in, t, out);
    else out = in;
    EXPECT_EQ(out.width, 3) << c.orientation;
    EXPECT_EQ(out.pixels, upright) << "orientation " << c.orientation;
  }
  EXPECT_EQ(OrientationToTransform(0), 0u);
  EXPECT_EQ(OrientationToTransform(9), 0u);
  EXPECT_EQ(OrientationPolicy(6, true, false), 6);
  EXPECT_EQ(OrientationPolicy(6, false, false), 0);
  EXPECT_EQ(OrientationPolicy(6, false, true), 6);
}
