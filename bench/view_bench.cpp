// Times the view of one large picture in a 1600 x 1000 view: until the fit frame is ready, until each
// zoom frame is ready after the first zoom beyond fit, and one Pan + Paint step at actual size.
//   view_bench.exe picture.jpg
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/wic_factory.h"
#include "view_render/key_frame_render.h"

using namespace view_render;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

template <typename F>
bool PumpUntil(F done, int limit_ms = 60000) {
  const auto end = Clock::now() + std::chrono::milliseconds(limit_ms);
  while (!done()) {
    if (Clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  basic_lib::ScopedGdiplus gdiplus;
  image::CreateImagingFactory();
  HWND view = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();

  const auto t0 = Clock::now();
  picture.Open(argv[1]);
  const auto [pw, ph] = image::GetOrientedSize(picture.GetLoader().get());
  CViewRenderer::Settings settings;
  settings.make_pre_render = [view](CViewRenderer& r) {
    return std::make_unique<CPreRenderKeyFrame>(r, view, CPreRenderKeyFrame::Settings{});
  };
  CViewRenderer renderer(view, pw, ph, false, 1600, 1000, settings);
  auto* frames = static_cast<CPreRenderKeyFrame*>(renderer.pre_render());
  if (!PumpUntil([&] { return frames->fit_ready(); })) return 1;
  const double fit_ms = Ms(t0);

  const auto t1 = Clock::now();
  renderer.ZoomBy(1, 800, 500);  // the first zoom beyond fit asks for the zoom frames
  double a_ms = -1, b_ms = -1, f_ms = -1;
  PumpUntil([&] {
    if (a_ms < 0 && frames->has_zoom_frame('A')) a_ms = Ms(t1);
    if (b_ms < 0 && frames->has_zoom_frame('B')) b_ms = Ms(t1);
    if (f_ms < 0 && frames->has_zoom_frame('F')) f_ms = Ms(t1);
    return f_ms >= 0;
  });

  renderer.SetZoom(1.0f, 800, 500);
  HDC screen = GetDC(nullptr);
  HDC window = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 1600, 1000);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(window, target);
  std::vector<double> steps;
  for (int i = 0; i < 120; ++i) {
    const auto t = Clock::now();
    renderer.Pan(i % 40 < 20 ? -12 : 12, i % 60 < 30 ? -7 : 7);
    renderer.Paint(window, 1600, 1000, false);
    GdiFlush();
    steps.push_back(Ms(t));
  }
  std::sort(steps.begin(), steps.end());
  printf("fit %.1f\nzoom2x %.1f\nzoom4x %.1f\nactual %.1f\npan_median %.2f\npan_p95 %.2f\n", fit_ms, a_ms, b_ms, f_ms,
         steps[steps.size() / 2], steps[steps.size() * 95 / 100]);
  SelectObject(window, old);
  DeleteObject(target);
  DeleteDC(window);
  picture.Reset();
  image::ReleaseImagingFactory();
  CoUninitialize();
  return 0;
}
