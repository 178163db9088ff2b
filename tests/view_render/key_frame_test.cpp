// The key-frame pre-renderer on real pictures: the fit frame of a small picture at once and of a large
// one through the queue, the first-frame message once, zoom frames built and used, and nothing
// delivered once the pre-renderer is gone.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "basic_lib/dib_info.h"
#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/thumbnail_cache.h"
#include "image/wic_factory.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_paths.h"
#include "view_render/key_frame_render.h"
#include "view_render/system_cache.h"

using namespace view_render;
using namespace std::chrono_literals;

using test_support::PumpUntil;

namespace {

int g_first_frames = 0;
LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP_FIRST_FRAME_READY) ++g_first_frames;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class KeyFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    image::CreateImagingFactory();
    image::CThumbnailCache::Get().Clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ViewProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VistromaKeyFrameTestView";
    RegisterClassW(&wc);
    view_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    g_first_frames = 0;
    image::OpenOptions options;
    options.orientation_by_tag = true;
    image::CCurrentPicture::Instance().SetOpenOptions(options);
  }
  void TearDown() override {
    image::CCurrentPicture::Instance().Reset();
    DestroyWindow(view_);
    image::ReleaseImagingFactory();
    CoUninitialize();
  }
  std::unique_ptr<CViewRenderer> Show(const wchar_t* fixture, int w, int h) {
    image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
    picture.Open(test_support::TestBinDirectory() + L"fixtures\\decode\\" + fixture);
    const auto [pw, ph] = image::GetOrientedSize(picture.GetLoader().get());
    CViewRenderer::Settings s;
    s.make_pre_render = [this](CViewRenderer& r) {
      return std::make_unique<CPreRenderKeyFrame>(r, view_, CPreRenderKeyFrame::Settings{});
    };
    return std::make_unique<CViewRenderer>(view_, pw, ph, false, w, h, s);
  }
  basic_lib::ScopedGdiplus gdiplus_;
  HWND view_ = nullptr;
};

}  // namespace

TEST_F(KeyFrameTest, ASmallPictureGetsItsFramesAtOnce) {
  auto renderer = Show(L"marked.png", 32, 24);
  auto* frames = static_cast<CPreRenderKeyFrame*>(renderer->pre_render());
  EXPECT_TRUE(frames->fit_ready());
  EXPECT_NE(frames->GetFrameBitmap(0), nullptr);
  PumpUntil([] { return g_first_frames > 0; }, 2s);
  EXPECT_EQ(g_first_frames, 1);
  renderer->SetZoom(1.0f, 16, 12);  // beyond fit (0.5): frames built at once
  EXPECT_FALSE(frames->has_zoom_frame('A')) << "2 x 0.5 is not below 1";
  EXPECT_TRUE(frames->has_zoom_frame('F'));
  PumpUntil([] { return false; }, 100ms);
  EXPECT_EQ(g_first_frames, 1) << "posted once";
}

TEST_F(KeyFrameTest, ALargePictureGetsItsFitFrameThroughTheQueue) {
  auto renderer = Show(L"long_1280x10000.png", 400, 300);
  auto* frames = static_cast<CPreRenderKeyFrame*>(renderer->pre_render());
  EXPECT_FALSE(frames->fit_ready()) << "not on the UI thread";
  ASSERT_TRUE(PumpUntil([&] { return frames->fit_ready(); }));
  EXPECT_EQ(g_first_frames, 1);
  renderer->SetZoom(0.1f, 200, 150);  // fit is 0.03: A at 0.06, B at 0.12, then F
  ASSERT_TRUE(PumpUntil([&] { return frames->has_zoom_frame('F'); }));
  EXPECT_TRUE(frames->has_zoom_frame('A'));
  EXPECT_TRUE(frames->has_zoom_frame('B'));
  EXPECT_TRUE(frames->has_render_target()) << "Direct2D places the frames on this display";
  // The picture is a flat 0x404040, 128 pixels wide at 0.1, centred in the 400-pixel view.
  renderer->Redraw();
  BITMAPINFO bi = basic_lib::TopDownDibInfo(400, 300);
  std::vector<std::uint32_t> px(400 * 300);
  GetDIBits(renderer->buffer()->dc(), renderer->buffer()->bitmap(), 0, 300, px.data(), &bi, DIB_RGB_COLORS);
  for (int x : {140, 200, 260}) EXPECT_EQ(px[150 * 400 + x] & 0xFFFFFF, 0x404040u) << x;
  for (int x : {20, 380}) EXPECT_EQ(px[150 * 400 + x] & 0xFFFFFF, 0u) << "background at " << x;
}

TEST_F(KeyFrameTest, TheSynchronousBoundaryIs1640960Pixels) {
  auto at_bound = Show(L"size_1280x1282.png", 400, 300);
  EXPECT_TRUE(static_cast<CPreRenderKeyFrame*>(at_bound->pre_render())->fit_ready()) << "1,640,960 pixels: at once";
  auto above = Show(L"size_1281x1281.png", 400, 300);
  auto* frames = static_cast<CPreRenderKeyFrame*>(above->pre_render());
  EXPECT_FALSE(frames->fit_ready()) << "1,640,961 pixels: through the queue";
  EXPECT_TRUE(PumpUntil([&] { return frames->fit_ready(); }));
}

TEST_F(KeyFrameTest, NothingArrivesOnceThePictureIsClosed) {
  auto renderer = Show(L"long_1280x10000.png", 400, 300);
  ASSERT_TRUE(PumpUntil([&] { return static_cast<CPreRenderKeyFrame*>(renderer->pre_render())->fit_ready(); }));
  renderer->SetZoom(0.5f, 200, 150);  // queues the zoom context
  renderer.reset();                    // the pre-renderer and its window go
  image::CCurrentPicture::Instance().Open(L"");
  PumpUntil([] { return image::CCurrentPicture::Instance().GetQueue().running_count() == 0; });
  SUCCEED() << "no crash: the task found its target gone";
}

TEST_F(KeyFrameTest, PanningThroughTheRenderTargetRepaintsOnlyTheStripsAndMatchesAFullRedraw) {
  const auto pixels = [](const CViewRenderer& r) {
    BITMAPINFO bi = basic_lib::TopDownDibInfo(32, 24);
    std::vector<std::uint32_t> px(32 * 24);
    GetDIBits(r.buffer()->dc(), r.buffer()->bitmap(), 0, 24, px.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
  };
  auto panned = Show(L"marked.png", 32, 24);
  panned->SetZoom(1.0f, 0, 0);  // beyond the fit of 0.5: the actual-size frame, built at once
  ASSERT_TRUE(static_cast<CPreRenderKeyFrame*>(panned->pre_render())->has_zoom_frame('F'));
  panned->Redraw();
  panned->Pan(-9, -5);
  auto fresh = Show(L"marked.png", 32, 24);
  fresh->SetZoom(1.0f, 0, 0);
  fresh->Redraw();
  fresh->Pan(-9, -5);
  fresh->Redraw();  // the same geometry, painted whole
  EXPECT_EQ(panned->zoom().geometry().source, fresh->zoom().geometry().source);
  EXPECT_EQ(pixels(*panned), pixels(*fresh));
}
