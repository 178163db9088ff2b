// The renderer's buffer: a pan that repaints only the uncovered strips gives exactly the pixels of a
// full redraw of the same geometry.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "basic_lib/dib_info.h"
#include "view_render/view_renderer.h"

using namespace view_render;

namespace {

// A picture of distinct pixels, drawn by stretching it over the rectangle asked for.
class PatternPreRender : public CPreRender {
 public:
  PatternPreRender(CViewRenderer& r, int w, int h) : CPreRender(r) {
    BITMAPINFO bi = basic_lib::TopDownDibInfo(w, h);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p[y * w + x] = static_cast<std::uint32_t>((x * 7) ^ (y * 13)) & 0xFFFFFF;
    w_ = w, h_ = h;
  }
  ~PatternPreRender() override { DeleteObject(bitmap_); }
  HBITMAP GetFrameBitmap(int) override { return bitmap_; }
  void Draw(HDC dc, int left, int top, int right, int bottom) override {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap_);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, left, top, right - left, bottom - top, mem, 0, 0, w_, h_, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }

 private:
  HBITMAP bitmap_ = nullptr;
  int w_ = 0, h_ = 0;
};

std::vector<std::uint32_t> Pixels(const CBufferedView& b) {
  std::vector<std::uint32_t> px(static_cast<size_t>(b.width()) * b.height());
  BITMAPINFO bi = basic_lib::TopDownDibInfo(b.width(), b.height());
  GetDIBits(b.dc(), b.bitmap(), 0, static_cast<UINT>(b.height()), px.data(), &bi, DIB_RGB_COLORS);
  for (auto& p : px) p &= 0xFFFFFF;
  return px;
}

CViewRenderer::Settings Settings(int w, int h) {
  CViewRenderer::Settings s;
  s.make_pre_render = [w, h](CViewRenderer& r) { return std::make_unique<PatternPreRender>(r, w, h); };
  return s;
}

}  // namespace

TEST(ViewRenderer, AStripRepaintedPanEqualsAFullRedraw) {
  CViewRenderer panned(nullptr, 1200, 900, false, 320, 240, Settings(1200, 900));
  panned.SetZoom(1.0f, 160, 120);
  for (auto [dx, dy] : {std::pair{-37, -21}, std::pair{15, -60}, std::pair{-200, 33}, std::pair{5000, 5000}}) {
    panned.Pan(dx, dy);
    CViewRenderer fresh(nullptr, 1200, 900, false, 320, 240, Settings(1200, 900));
    fresh.SetZoom(1.0f, 160, 120);
    // The same source rectangle, reached without panning.
    const IntRect want = panned.zoom().geometry().source;
    const IntRect start = fresh.zoom().geometry().source;
    fresh.Pan(start.left - want.left, start.top - want.top);
    ASSERT_EQ(fresh.zoom().geometry().source, want);
    fresh.Redraw();
    EXPECT_EQ(Pixels(*panned.buffer()), Pixels(*fresh.buffer())) << "after a pan of " << dx << ", " << dy;
  }
}

TEST(ViewRenderer, LongPicturesOpenAtActualSizeAndTheSameSizeKeepsTheZoom) {
  auto settings = Settings(1000, 5000);
  settings.long_image_mode = true;
  float reported = 0;
  settings.zoom_percent = [&](float r) { reported = r; };
  CViewRenderer tall(nullptr, 1000, 5000, true, 800, 600, settings);
  EXPECT_FLOAT_EQ(tall.zoom().ratio(), 1.0f);
  EXPECT_EQ(tall.zoom().geometry().source.top, 0);
  EXPECT_EQ(tall.zoom().geometry().source.left, 0);
  EXPECT_FLOAT_EQ(reported, 1.0f);
  tall.SetViewSize(800, 600);
  EXPECT_FLOAT_EQ(tall.zoom().ratio(), 1.0f) << "the same size keeps it";
  tall.SetViewSize(800, 601);
  EXPECT_LT(tall.zoom().ratio(), 0.2f) << "a new size fits again";
  EXPECT_FALSE(tall.not_ready());
}

TEST(ViewRenderer, ANewGeometryIsLogged) {
  auto settings = Settings(400, 300);
  std::vector<std::wstring> lines;
  settings.log = [&](const std::wstring& line) { lines.push_back(line); };
  CViewRenderer small(nullptr, 400, 300, false, 800, 600, settings);
  const std::vector<std::wstring> expected{L"actualsize.cx:400 actualsize.cy300", L"init_ratio:1",
                                           L"view_size.cx:800 view_size.cy:600", L"zoomed_size.cx:400 zoomed_size.cy:300"};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(small.zoom().geometry().destination, (IntRect{200, 150, 600, 450}));
  lines.clear();
  small.SetViewSize(800, 600);
  EXPECT_TRUE(lines.empty()) << "the same size: no new geometry";
}
