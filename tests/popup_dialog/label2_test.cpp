// CLabelUI2 drawing: alignment by name, and text that keeps a meaningful alpha channel on layered windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "basic_lib/gdiplus.h"
#include "basic_lib/scoped_handle.h"
#include "popup_dialog/label2.h"
#include "ui_toolkit/painter.h"
#include "ui_toolkit/picture.h"

using namespace popup_dialog;
using ui_toolkit::HorizontalAlign;

TEST(Label2, AlignmentFromText) {
  struct Case {
    const wchar_t* text;
    HorizontalAlign expected;
  };
  for (const Case& c : {Case{L"left", HorizontalAlign::kLeft}, Case{L"LEFT", HorizontalAlign::kLeft},
                        Case{L"right", HorizontalAlign::kRight}, Case{L"center", HorizontalAlign::kCenter},
                        Case{L"", HorizontalAlign::kCenter}, Case{L"lefty", HorizontalAlign::kCenter}})
    EXPECT_EQ(AlignmentFromText(c.text), c.expected) << testing::PrintToString(std::wstring(c.text));
}

namespace {

struct Ink {
  int count = 0, min_x = 1 << 30, max_x = -1;
  bool outside = false;       // any alpha outside the label's rectangle
  bool premultiplied = true;  // no colour channel above its alpha
};

// Draws a 16-px label "图片 Vistroma" at (20, 10)-(220, 50) on a 240 x 60 canvas, transparent or white.
Ink Draw(HorizontalAlign align, bool layered) {
  ui_toolkit::LayoutDocument doc;
  doc.fonts.push_back({3, L"微软雅黑", 16});
  CLabelUI2 label;
  label.text = L"图片 Vistroma";
  label.font = 3;
  label.text_colour = 0xFF888888;
  label.align = align;
  label.rect = {20, 10, 220, 50};
  auto canvas = ui_toolkit::CPicture::Create(240, 60);
  if (!layered) std::fill(canvas->pixels(), canvas->pixels() + 240 * 60, 0xFFFFFFFFu);
  {
    basic_lib::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    basic_lib::ScopedSelectObject select(dc.get(), canvas->bitmap());
    const ui_toolkit::PaintContext ctx{dc.get(), &doc, ui_toolkit::PackageSource::kResourcePackage, {0, 0},
                                       {0, 0, 240, 60}, layered};
    ui_toolkit::PaintControl(ctx, label);
    GdiFlush();
  }
  Ink ink;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 240; ++x) {
      const std::uint32_t px = canvas->pixels()[y * 240 + x];
      const std::uint32_t a = px >> 24;
      const bool drawn = layered ? a > 0 : (px & 0xFF) < 0xF0;
      if (!drawn) continue;
      if (!label.rect.contains(x, y)) ink.outside = true;
      if (layered && (((px >> 16) & 0xFF) > a || ((px >> 8) & 0xFF) > a || (px & 0xFF) > a)) ink.premultiplied = false;
      ++ink.count;
      ink.min_x = std::min(ink.min_x, x);
      ink.max_x = std::max(ink.max_x, x);
    }
  return ink;
}

}  // namespace

TEST(Label2, AlignsTheTextInsideItsRectangle) {
  basic_lib::ScopedGdiplus gdiplus;
  const Ink left = Draw(HorizontalAlign::kLeft, false);
  const Ink centre = Draw(HorizontalAlign::kCenter, false);
  const Ink right = Draw(HorizontalAlign::kRight, false);
  ASSERT_GT(centre.count, 100);
  EXPECT_LT(left.min_x, 26);
  EXPECT_GT(right.max_x, 212);
  EXPECT_LT(left.min_x, centre.min_x);
  EXPECT_LT(centre.min_x, right.min_x);
  // Centred: equal room on both sides, within a pixel or two of rounding.
  EXPECT_NEAR(centre.min_x - 20, 220 - 1 - centre.max_x, 3);
  for (const Ink* ink : {&left, &centre, &right}) EXPECT_FALSE(ink->outside);
}

TEST(Label2, OnALayeredWindowTheGlyphsCarryAlpha) {
  basic_lib::ScopedGdiplus gdiplus;
  const Ink layered = Draw(HorizontalAlign::kCenter, true);
  const Ink direct = Draw(HorizontalAlign::kCenter, false);
  EXPECT_GT(layered.count, 100) << "glyph pixels have alpha, the rest stays transparent";
  EXPECT_FALSE(layered.outside);
  EXPECT_TRUE(layered.premultiplied);
  // The same text in the same place either way.
  EXPECT_NEAR(layered.min_x, direct.min_x, 1);
  EXPECT_NEAR(layered.max_x, direct.max_x, 1);
}
