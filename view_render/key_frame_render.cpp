#include "view_render/key_frame_render.h"

#include <algorithm>
#include <cstring>

#include "image/current_picture.h"
#include "image/format_table.h"
#include "image/resample.h"
#include "image/thumbnail_cache.h"
#include "view_render/async_task.h"
#include "view_render/frame_choice.h"
#include "view_render/system_cache.h"

namespace view_render {
namespace {

// The fit frame of a picture, made on a worker from the fastest source that has it.
class CAsyncCreateFitView : public CAsyncTask {
 public:
  CAsyncCreateFitView(std::shared_ptr<image::CWICImageLoader> loader, std::wstring path, HWND target, int w, int h,
                      bool skip_cache, Microsoft::WRL::ComPtr<IWICBitmapSource> preview, HBRUSH background,
                      bool ignore_icc)
      : loader_(std::move(loader)), path_(std::move(path)), target_(target), w_(w), h_(h), skip_cache_(skip_cache),
        preview_(std::move(preview)), background_(background), ignore_icc_(ignore_icc) {}
  ~CAsyncCreateFitView() override {
    if (bitmap) DeleteObject(bitmap);
  }
  void Run() override {
    const int max_side = std::max(w_, h_);
    if (!preview_ && image::IsWritableType(image::ClassifyImagePath(path_))) {
      const std::vector<std::uint8_t>* colour = ignore_icc_ && loader_ ? &loader_->colour_context : nullptr;
      if (!skip_cache_) {
        const auto request = image::RequestShellThumbnail(path_, max_side, 2);
        if (request.bitmap && image::ThumbnailToSize(request, w_, h_, bitmap, colour, background_)) {
          needs_better = max_side > image::kLargeThumbnail;
          return;
        }
      }
      const auto request = image::RequestShellThumbnail(path_, max_side, 1);
      if (request.usable() && image::ThumbnailToSize(request, w_, h_, bitmap, colour, background_)) return;
    }
    if (!KeepRunning()) return;
    if (preview_) {
      image::CWICImageLoader from_preview;
      from_preview.source = preview_;
      image::DecodeToSize(from_preview, w_, h_, false, background_, bitmap);
    } else if (loader_) {
      image::DecodeToSize(*loader_, w_, h_, !ignore_icc_, background_, bitmap);
    }
    needs_better = false;
  }
  void OnComplete() override {
    if (IsWindow(target_)) SendMessageW(target_, WM_APP_FIT_FRAME_READY, reinterpret_cast<WPARAM>(this), 0);
  }
  HBITMAP bitmap = nullptr;  // taken over by the pre-renderer
  bool needs_better = false;

 private:
  std::shared_ptr<image::CWICImageLoader> loader_;
  std::wstring path_;
  HWND target_;
  int w_, h_;
  bool skip_cache_;
  Microsoft::WRL::ComPtr<IWICBitmapSource> preview_;
  HBRUSH background_;
  bool ignore_icc_;
};

std::shared_ptr<CZoomKeyFrame> BuildFrame(const image::BgraBuffer& full, float ratio, int picture_w, int picture_h) {
  const int w = std::max(1, static_cast<int>(static_cast<float>(picture_w) * ratio));
  const int h = std::max(1, static_cast<int>(static_cast<float>(picture_h) * ratio));
  image::BgraBuffer scaled;
  const image::BgraBuffer* use = &full;
  if (w != full.width || h != full.height) {
    if (!image::Resample(full, w, h, image::ResampleFilter::kArea, scaled)) return nullptr;
    use = &scaled;
  }
  auto frame = std::make_shared<CZoomKeyFrame>();
  frame->ratio = ratio;
  if (!frame->image.Create(w, -h, 32)) return nullptr;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* src = use->Row(y);
    auto* dst = reinterpret_cast<std::uint32_t*>(frame->image.RowPointer(y));
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = src[x], a = p >> 24;
      const auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      dst[x] = a == 255 ? p : (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
    }
  }
  return frame;
}

// The zoom frames of a picture: 2x and 4x the fit ratio while below 1.0, then actual size.
class CAsyncCreateZoomContext : public CAsyncTask {
 public:
  CAsyncCreateZoomContext(std::shared_ptr<image::CWICImageLoader> loader, HWND target, float fit, bool colour_manage)
      : loader_(std::move(loader)), target_(target), fit_(fit), colour_manage_(colour_manage) {}
  void Run() override {
    if (!loader_ || !IsWindow(target_)) return;
    const auto source = image::GetFullSource(*loader_, colour_manage_);
    image::BgraBuffer full;
    if (!source || !image::ReadSourcePixels(source.Get(), full)) return;
    const ZoomFramePlan plan = PlanZoomFrames(fit_);
    if (plan.a) {
      a = BuildFrame(full, *plan.a, full.width, full.height);
      if (!Deliver()) return;
      if (a && plan.b) {
        b = BuildFrame(full, *plan.b, full.width, full.height);
        if (!Deliver()) return;
      }
    }
    if (KeepRunning()) f = BuildFrame(full, 1.0f, full.width, full.height);
  }
  void OnComplete() override {
    if (IsWindow(target_)) SendMessageW(target_, WM_APP_ZOOM_FRAMES_READY, reinterpret_cast<WPARAM>(this), 0);
  }
  std::shared_ptr<CZoomKeyFrame> a, b, f;

 private:
  // Progress: the frames so far go to the pre-renderer while the rest are built; false when it is gone.
  bool Deliver() {
    if (!KeepRunning()) return false;
    if (!queue_window()) return IsWindow(target_) != FALSE;  // run on the UI thread: OnComplete delivers
    return SendThroughQueue(target_, WM_APP_ZOOM_FRAMES_READY, reinterpret_cast<WPARAM>(this), 0);
  }
  std::shared_ptr<image::CWICImageLoader> loader_;
  HWND target_;
  float fit_;
  bool colour_manage_;
};

}  // namespace

CPreRenderKeyFrame::CPreRenderKeyFrame(CViewRenderer& renderer, HWND view_window, Settings settings)
    : CPreRender(renderer), view_(view_window), settings_(settings), fit_ratio_(renderer.zoom().ratio()),
      fit_w_(renderer.zoom().geometry().zoomed_width), fit_h_(renderer.zoom().geometry().zoomed_height) {
  CreateMessageWindow(nullptr);
  StartFit();
}

CPreRenderKeyFrame::~CPreRenderKeyFrame() {
  DestroyMessageWindow();  // later completions find nobody to deliver to
  if (fit_bitmap_) DeleteObject(fit_bitmap_);
}

bool CPreRenderKeyFrame::has_zoom_frame(char which) const {
  return which == 'A' ? a_ != nullptr : which == 'B' ? b_ != nullptr : f_ != nullptr;
}

HBITMAP CPreRenderKeyFrame::GetFrameBitmap(int index) { return index == 0 || fit_ready_ ? fit_bitmap_ : nullptr; }

void CPreRenderKeyFrame::SetFitBitmap(HBITMAP bitmap) {
  if (!bitmap) return;
  if (!fit_bitmap_ && view_ && IsWindow(view_)) PostMessageW(view_, WM_APP_FIRST_FRAME_READY, 0, 0);
  if (fit_bitmap_) DeleteObject(fit_bitmap_);
  fit_bitmap_ = bitmap;
}

void CPreRenderKeyFrame::QueueFitView(bool skip_cache) {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  picture.GetQueue().AddTask(std::make_unique<CAsyncCreateFitView>(
      picture.GetLoader(), picture.GetPath(), hwnd(), fit_w_, fit_h_, skip_cache,
      picture.HasPreview() ? Microsoft::WRL::ComPtr<IWICBitmapSource>(picture.GetPreview()) : nullptr,
      settings_.background, settings_.ignore_embedded_icc));
}

void CPreRenderKeyFrame::StartFit() {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  const auto loader = picture.GetLoader();
  const auto [pw, ph] = image::GetOrientedSize(loader.get());
  CSystemCache& cache = CSystemCache::Get();
  if (loader && IsSmallPicture(pw, ph)) {
    HBITMAP bitmap = nullptr;
    if (image::DecodeToSize(*loader, fit_w_, fit_h_, !settings_.ignore_embedded_icc, settings_.background, bitmap))
      SetFitBitmap(bitmap);
    fit_ready_ = true;
    cache.Start();
    return;
  }
  HBITMAP bitmap = nullptr;
  if (cache.LookupFit(fit_w_, fit_h_, bitmap)) {
    SetFitBitmap(bitmap);
    fit_ready_ = true;
    cache.Start();
    return;
  }
  if (bitmap) SetFitBitmap(bitmap);  // a provisional frame
  if (cache.FindRunningPreload(hwnd())) return;
  QueueFitView(false);
}

LRESULT CPreRenderKeyFrame::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  CSystemCache& cache = CSystemCache::Get();
  switch (msg) {
    case WM_APP_FIT_FRAME_READY: {
      auto* task = reinterpret_cast<CAsyncCreateFitView*>(wp);
      SetFitBitmap(std::exchange(task->bitmap, nullptr));
      if (task->needs_better) {
        QueueFitView(true);
      } else {
        fit_ready_ = true;
        cache.Start();
      }
      cache.Start();
      renderer_.RedrawAndShow();
      return 1;
    }
    case WM_APP_PRELOAD_DONE: {
      HBITMAP bitmap = nullptr;
      if (cache.LookupFit(fit_w_, fit_h_, bitmap)) {
        SetFitBitmap(bitmap);
        fit_ready_ = true;
      } else {
        if (bitmap) SetFitBitmap(bitmap);
        QueueFitView(true);
      }
      cache.Start();
      renderer_.RedrawAndShow();
      return 1;
    }
    case WM_APP_ZOOM_FRAMES_READY: {
      auto* task = reinterpret_cast<CAsyncCreateZoomContext*>(wp);
      a_ = task->a;
      b_ = task->b;
      f_ = task->f;
      renderer_.RedrawAndShow();
      return 1;
    }
  }
  return FCMessageWindow::WindowProc(msg, wp, lp);
}

void CPreRenderKeyFrame::RequestZoomContext() {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  const auto loader = picture.GetLoader();
  auto task = std::make_unique<CAsyncCreateZoomContext>(loader, hwnd(), fit_ratio_, !settings_.ignore_embedded_icc);
  const auto [pw, ph] = image::GetOrientedSize(loader.get());
  if (!IsSmallPicture(pw, ph)) {
    picture.GetQueue().AddTask(std::move(task));
    return;
  }
  task->Run();
  task->OnComplete();
}

void CPreRenderKeyFrame::Draw(HDC dc, int left, int top, int right, int bottom) {
  const auto draw_fit = [&] {
    if (!fit_bitmap_) return;
    BITMAP info{};
    GetObjectW(fit_bitmap_, sizeof(info), &info);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, fit_bitmap_);
    const int previous = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, left, top, right - left, bottom - top, mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SetStretchBltMode(dc, previous);
    SelectObject(mem, old);
    DeleteDC(mem);
  };
  const float ratio = renderer_.zoom().ratio();
  if (ratio <= fit_ratio_) {
    draw_fit();
    return;
  }
  if (!zoom_requested_) {
    zoom_requested_ = true;
    RequestZoomContext();
  }
  // Without a Direct2D target the frames are drawn with GDI, each from its own DIB.
  const std::string order = FramesToTry(ratio, a_ ? std::optional<float>(a_->ratio) : std::nullopt,
                                        b_ ? std::optional<float>(b_->ratio) : std::nullopt);
  for (char which : order) {
    if (which == 'f') {
      draw_fit();
      return;
    }
    const std::shared_ptr<CZoomKeyFrame>& frame = which == 'A' ? a_ : which == 'B' ? b_ : f_;
    if (frame && frame->image.IsValid()) {
      frame->image.Draw(dc, left, top, right, bottom);
      return;
    }
  }
}

}  // namespace view_render
