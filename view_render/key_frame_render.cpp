#include "view_render/key_frame_render.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "basic_lib/dib_info.h"
#include "image/current_picture.h"
#include "image/enhancement.h"
#include "image/format_table.h"
#include "image/resample.h"
#include "image/thumbnail_cache.h"
#include "view_render/async_task.h"
#include "view_render/d2d_target.h"
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

std::shared_ptr<CZoomKeyFrame> BuildFrame(const image::BgraBuffer& full, float ratio, int picture_w, int picture_h,
                                          const std::atomic<int>* running) {
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
  if (!frame->image.CreatePremultiplied(*use)) return nullptr;
  image::ApplyEnhancement(frame->image, running);
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
      a = BuildFrame(full, *plan.a, full.width, full.height, &running_flag());
      if (!Deliver()) return;
      if (a && plan.b) {
        b = BuildFrame(full, *plan.b, full.width, full.height, &running_flag());
        if (!Deliver()) return;
      }
    }
    if (KeepRunning()) f = BuildFrame(full, 1.0f, full.width, full.height, &running_flag());
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

bool CZoomKeyFrame::Draw(ID2D1RenderTarget* target, int left, int top, int right, int bottom) {
  if (!d2d && image.IsValid()) {
    const D2D1_BITMAP_PROPERTIES props{{DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED}, 96.0f, 96.0f};
    if (FAILED(target->CreateBitmap(D2D1::SizeU(static_cast<UINT32>(image.Width()), static_cast<UINT32>(image.Height())),
                                    image.RowPointer(0), static_cast<UINT32>(image.Stride()), &props, &d2d)))
      d2d.Reset();
  }
  if (!d2d) return false;
  const D2D1_RECT_F dest{static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                         static_cast<float>(bottom)};
  const float scale = static_cast<float>(right - left) / static_cast<float>(d2d->GetPixelSize().width);
  Microsoft::WRL::ComPtr<ID2D1DeviceContext> context;
  // Shrinking below half uses the multi-sample filter where the target has it.
  if (scale < 0.5f && SUCCEEDED(target->QueryInterface(__uuidof(ID2D1DeviceContext),
                                                        reinterpret_cast<void**>(context.GetAddressOf())))) {
    context->DrawBitmap(d2d.Get(), &dest, 1.0f, D2D1_INTERPOLATION_MODE_MULTI_SAMPLE_LINEAR, nullptr, nullptr);
  } else {
    target->DrawBitmap(d2d.Get(), dest, 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
  }
  return true;
}

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
  // The render target's copy is made again from the new bitmap when it is next drawn.
  fit_frame_.d2d.Reset();
  fit_frame_.image.Destroy();
}

CZoomKeyFrame* CPreRenderKeyFrame::FitFrame() {
  if (!fit_frame_.image.IsValid() && fit_bitmap_) {
    BITMAP info{};
    const int h = GetObjectW(fit_bitmap_, sizeof(info), &info) ? std::abs(info.bmHeight) : 0;
    if (h && fit_frame_.image.Create(info.bmWidth, -h, 32) &&
        !basic_lib::ReadOpaqueRows(fit_bitmap_, info.bmWidth, h, reinterpret_cast<std::uint32_t*>(fit_frame_.image.Pixels())))
      fit_frame_.image.Destroy();
  }
  return &fit_frame_;
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
  if (!target_) target_ = CreateDcRenderTarget(settings_.hardware_zoom);
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

void CPreRenderKeyFrame::DrawFit(HDC dc, int left, int top, int right, int bottom) {
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
}

bool CPreRenderKeyFrame::DrawWithTarget(HDC dc, const std::string& order, int left, int top, int right, int bottom) {
  BITMAP info{};
  HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
  if (!selected || !GetObjectW(selected, sizeof(info), &info) || info.bmWidth == 0) return false;
  const RECT whole{0, 0, info.bmWidth, std::abs(info.bmHeight)};
  if (FAILED(target_->BindDC(dc, &whole))) return false;
  // A DC render target ignores the DC's clip region; the region's rectangles (the strips a pan
  // uncovered) become clips of its own.
  std::vector<RECT> clips;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(dc, region) == 1) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (size && GetRegionData(region, size, rgn)) {
      const auto* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
      clips.assign(rects, rects + rgn->rdh.nCount);
    }
  } else {
    clips.push_back(whole);
  }
  DeleteObject(region);
  target_->BeginDraw();
  target_->SetTransform(D2D1::Matrix3x2F::Identity());
  for (const RECT& clip : clips) {
    target_->PushAxisAlignedClip(D2D1::RectF(static_cast<float>(clip.left), static_cast<float>(clip.top),
                                             static_cast<float>(clip.right), static_cast<float>(clip.bottom)),
                                 D2D1_ANTIALIAS_MODE_ALIASED);
    for (char which : order) {
      CZoomKeyFrame* frame = which == 'A' ? a_.get() : which == 'B' ? b_.get() : which == 'F' ? f_.get() : FitFrame();
      if (frame && frame->Draw(target_.Get(), left, top, right, bottom)) break;
    }
    target_->PopAxisAlignedClip();
  }
  if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) Reset();
  return true;
}

void CPreRenderKeyFrame::Draw(HDC dc, int left, int top, int right, int bottom) {
  const float ratio = renderer_.zoom().ratio();
  if (ratio <= fit_ratio_) {
    DrawFit(dc, left, top, right, bottom);
    return;
  }
  if (!zoom_requested_) {
    zoom_requested_ = true;
    RequestZoomContext();
  }
  const std::string order = FramesToTry(ratio, a_ ? std::optional<float>(a_->ratio) : std::nullopt,
                                        b_ ? std::optional<float>(b_->ratio) : std::nullopt);
  if (target_ && DrawWithTarget(dc, order, left, top, right, bottom)) return;
  // No render target: the same frames drawn with GDI from their DIBs.
  for (char which : order) {
    if (which == 'f') {
      DrawFit(dc, left, top, right, bottom);
      return;
    }
    const std::shared_ptr<CZoomKeyFrame>& frame = which == 'A' ? a_ : which == 'B' ? b_ : f_;
    if (frame && frame->image.IsValid()) {
      frame->image.Draw(dc, left, top, right, bottom);
      return;
    }
  }
}

void CPreRenderKeyFrame::Reset() {
  CreateMessageWindow(nullptr);
  zoom_requested_ = false;
  fit_frame_.d2d.Reset();
  target_.Reset();
  a_.reset();
  b_.reset();
  f_.reset();
}

}  // namespace view_render
