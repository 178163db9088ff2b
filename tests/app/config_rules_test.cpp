#include <gtest/gtest.h>

#include <climits>

#include "app/config_rules.h"

using namespace app;

TEST(ConfigRules, ProfileNumbers) {
  const std::pair<const wchar_t*, std::int64_t> cases[] = {
      {L"42", 42},   {L"  -7", -7},  {L"+5", 5},   {L"12abc", 12},      {L"abc", 0},
      {L"", 0},      {L"-", 0},      {L"4294967296", 4294967296LL},     {L"99999999999999999999", LLONG_MAX},
      {L"-99999999999999999999", LLONG_MIN}, {L"\t 8", 8},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseProfileInt64(text), expected) << text;
  // Flags see the whole value, clamps its low 32 bits.
  EXPECT_EQ(ToFlag(4294967296LL), 1);
  EXPECT_EQ(Clamp32(4294967296LL, 4, 32), 4);
  EXPECT_EQ(Clamp32(4294967301LL, 4, 32), 5);
}

TEST(ConfigRules, ClampsColoursAndWheel) {
  EXPECT_EQ(Clamp32(100, 4, 32), 32);
  EXPECT_EQ(Clamp32(0, 4, 32), 4);
  EXPECT_EQ(Clamp32(5, 4, 32), 5);
  EXPECT_EQ(Clamp32(-3, 0, 64), 0);
  EXPECT_EQ(Clamp32(64, 0, 64), 64);
  EXPECT_EQ(Clamp32(150, 0, 100), 100);

  EXPECT_EQ(ParseCanvasColour(L"10,20,30"), 10u | (20u << 8) | (30u << 16));
  EXPECT_EQ(ParseCanvasColour(L"300,0,0"), 44u);
  EXPECT_EQ(ParseCanvasColour(L"10,20"), std::nullopt);
  EXPECT_EQ(ParseCanvasColour(L"1,2,3,4"), std::nullopt);
  EXPECT_EQ(FormatCanvasColour(0x272727), L"39,39,39");

  EXPECT_EQ(NormaliseWheelAction(5, 0), 1);
  EXPECT_EQ(NormaliseWheelAction(0, 0), 0);
  EXPECT_EQ(NormaliseWheelAction(99, 0), 99);
  EXPECT_EQ(NormaliseWheelAction(0, 1), 99);
  EXPECT_EQ(NormaliseWheelAction(1, 1), 99);
}

TEST(ConfigRules, StartPlacement) {
  // 1000 x 600: 668 x 480 is too low, so the window opens maximised.
  const PlacementRect small{0, 0, 1000, 600};
  EXPECT_EQ(DefaultStartRect(small), (PlacementRect{166, 60, 834, 540}));
  EXPECT_TRUE(DecideStartPlacement(FormatPlacement(DefaultStartRect(small)), small).maximise);

  const PlacementRect full{0, 0, 1920, 1040};
  const PlacementRect r = DefaultStartRect(full);
  EXPECT_EQ(r, (PlacementRect{320, 104, 1600, 936}));
  EXPECT_EQ(r.width(), 1280);
  EXPECT_EQ(r.height(), 832);
  const StartPlacement place = DecideStartPlacement(FormatPlacement(r), full);
  EXPECT_FALSE(place.maximise);
  EXPECT_EQ(place.rect, r);

  struct Case {
    const wchar_t* text;
    bool maximise;
    PlacementRect rect;
  };
  const Case cases[] = {
      {L"MAX", true, {}},
      {L"", true, {}},
      {L"1_2_3", true, {}},
      {L"1_2_3_4_5", true, {}},
      {L"100_100_900_700", false, {100, 100, 900, 700}},
      {L"1500_100_2300_700", false, {1120, 100, 1920, 700}},     // past the right edge: shifted left
      {L"-200_-50_600_550", false, {0, 0, 800, 600}},            // above and left of 0: shifted in
      {L"0_0_5000_3000", false, {0, 0, 1920, 1040}},             // larger: limited to the work area
      {L"100_100_699_700", true, {}},                            // narrower than 700
      {L"abc_0_800_600", false, {0, 0, 800, 600}},                // StrToInt of "abc" is 0
      {L"-2147483648_0_2147483647_600", false, {0, 0, 1920, 600}},
  };
  for (const Case& c : cases) {
    const StartPlacement p = DecideStartPlacement(c.text, full);
    EXPECT_EQ(p.maximise, c.maximise) << c.text;
    if (!c.maximise) {
      EXPECT_EQ(p.rect, c.rect) << c.text;
    }
  }
}
