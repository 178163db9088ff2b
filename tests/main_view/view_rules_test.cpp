// The arithmetic of the main window and its image view: where the children and the view's items go,
// how an arrow picture is cut into bands, how the loading frame fits, what the wheel does, and the
// arrow's fade on real pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include "main_view/main_layout.h"
#include "main_view/skin_picture.h"
#include "main_view/view_item_geometry.h"
#include "main_view/wheel_rules.h"

using namespace main_view;

namespace {

void ExpectRect(const RECT& r, int l, int t, int right, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, b);
}

}  // namespace

TEST(MainLayout, TheToolbarDocksAtTheBottomOrUnderTheCaption) {
  const MainLayout bottom = ComputeMainLayout(1000, 700, true);
  ExpectRect(bottom.toolbar, 0, 638, 1000, 698);
  ExpectRect(bottom.view, 0, 31, 1000, 638);
  const MainLayout top = ComputeMainLayout(1000, 700, false);
  ExpectRect(top.toolbar, 0, 33, 1000, 93);
  ExpectRect(top.view, 0, 93, 1000, 700);
  for (const MainLayout* l : {&bottom, &top}) {
    ExpectRect(l->close, 970, 1, 1000, 31);
    ExpectRect(l->maximise, 940, 1, 970, 31);
    ExpectRect(l->minimise, 910, 1, 940, 31);
    ExpectRect(l->menubar, 880, 1, 910, 31);
  }
  EXPECT_EQ(TitleLeft(95), 111);
  EXPECT_EQ(TitleLeft(27), 43);
}

TEST(ViewItems, TheWelcomePairSitsAboveTheMiddleAndTipsAreCentred) {
  // A 196 x 150 slogan in a 1000 x 600 view: top (600 - 150 - 52) / 2 = 199, 26 above centring.
  const WelcomePlacement p = PlaceWelcome({1000, 600}, {196, 150}, {182, 48});
  ExpectRect(p.slogan, 402, 199, 598, 349);
  ExpectRect(p.button, 409, 436, 591, 484);
  // Odd sizes truncate.
  const WelcomePlacement odd = PlaceWelcome({701, 501}, {196, 150}, {182, 48});
  EXPECT_EQ(odd.slogan.left, 252);
  EXPECT_EQ(odd.slogan.top, 149);
  ExpectRect(CentredTip({1000, 600}), 410, 275, 590, 325);
  ExpectRect(CentredTip({101, 41}), -39, -4, 141, 46);
}

TEST(ViewItems, AnArrowIsCutIntoStretchedEndsAndAnUnscaledMiddle) {
  const auto bands = ArrowBands(120, 600);  // b = 110, e = 245
  EXPECT_EQ(bands[0].src_top, 0);
  EXPECT_EQ(bands[0].src_bottom, 5);
  EXPECT_EQ(bands[0].dst_bottom, 245);
  EXPECT_EQ(bands[1].src_top, 5);
  EXPECT_EQ(bands[1].src_bottom, 115);
  EXPECT_EQ(bands[1].dst_top, 245);
  EXPECT_EQ(bands[1].dst_bottom, 355);
  EXPECT_EQ(bands[2].src_top, 115);
  EXPECT_EQ(bands[2].src_bottom, 120);
  EXPECT_EQ(bands[2].dst_top, 355);
  EXPECT_EQ(bands[2].dst_bottom, 600);
}

TEST(ViewItems, TheLoadingFrameShrinksOnlyWhenTheItemIsSmaller) {
  ExpectRect(FitFrame(400, 300, 40), 180, 130, 220, 170);
  ExpectRect(FitFrame(30, 100, 40), 0, 35, 30, 65);
  ExpectRect(FitFrame(0, 0, 40), 0, 0, 1, 1);
}

TEST(WheelRules, CtrlSwapsTheActionAndAltScrolls) {
  struct Case {
    int action;
    WORD keys;
    bool alt;
    int delta;
    WheelOutcome outcome;
    int steps;
  };
  const Case cases[] = {
      {0, 0, false, 120, WheelOutcome::kPrevious, 0},
      {0, 0, false, -120, WheelOutcome::kNext, 0},
      {0, 0, false, 0, WheelOutcome::kNext, 0},
      {0, MK_CONTROL, false, 240, WheelOutcome::kZoom, 2},
      {1, 0, false, -360, WheelOutcome::kZoom, -3},
      {1, 0, false, 60, WheelOutcome::kZoom, 0},  // less than a notch: no step
      {1, MK_CONTROL, false, 120, WheelOutcome::kPrevious, 0},
      {99, MK_CONTROL, false, -120, WheelOutcome::kZoom, -1},
      {1, 0, true, 120, WheelOutcome::kScrollUp, 0},
      {0, MK_CONTROL, true, -120, WheelOutcome::kScrollDown, 0},
  };
  for (const Case& c : cases) {
    const WheelDecision d = DecideWheel(c.action, c.keys, c.alt, c.delta);
    EXPECT_EQ(d.outcome, c.outcome) << c.action << " " << c.keys << " " << c.alt << " " << c.delta;
    if (c.outcome == WheelOutcome::kZoom) {
      EXPECT_EQ(d.zoom_steps, c.steps) << c.delta;
    }
  }
}

TEST(SkinPicture, TheFadeScalesAlphaAndPremultipliesAndTheMirrorReverses) {
  image::FCObjImage picture;
  ASSERT_TRUE(picture.Create(2, 1, 32));
  std::uint8_t* px = picture.RowPointer(0);
  const std::uint8_t straight[8] = {200, 100, 50, 255, 255, 255, 255, 128};
  std::copy(std::begin(straight), std::end(straight), px);
  image::FCObjImage half;
  half.CopyFrom(picture);
  CEffectFillCurrentAlpha(50).Apply(half);
  const std::uint8_t* h = half.RowPointer(0);
  // 255 * 50 / 100 = 127, then 200 * 127 / 255 = 99; 128 * 50 / 100 = 64, 255 * 64 / 255 = 64.
  EXPECT_EQ(h[3], 127);
  EXPECT_EQ(h[0], 99);
  EXPECT_EQ(h[1], 49);
  EXPECT_EQ(h[2], 24);
  EXPECT_EQ(h[7], 64);
  EXPECT_EQ(h[4], 64);
  image::FCObjImage none;
  none.CopyFrom(picture);
  CEffectFillCurrentAlpha(0).Apply(none);
  EXPECT_EQ(none.RowPointer(0)[3] | none.RowPointer(0)[0] | none.RowPointer(0)[7], 0);

  MirrorHorizontally(picture);
  EXPECT_EQ(picture.RowPointer(0)[0], 255);
  EXPECT_EQ(picture.RowPointer(0)[7], 255);
  EXPECT_EQ(picture.RowPointer(0)[4], 200);
}
