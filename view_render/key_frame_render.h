#pragma once
// CPreRenderKeyFrame: the pre-renderer of a still picture. It keeps one fit frame, made first and as
// fast as it can be had (the rotation preview, the thumbnail cache, a running preload, an extraction, a
// decode), and, once the user zooms beyond fit, frames at twice and four times the fit ratio (while
// below actual size) and at actual size, each resampled at its own ratio by the viewer's resampler.
// Pictures up to 1,640,960 pixels get their frames on the UI thread, larger ones from tasks on the
// current picture's queue, whose results come back as messages to this object's window.
// UI thread only; the tasks hold their own references to the loader and the frames they build.
#include <windows.h>

#include <d2d1.h>
#include <d2d1_1.h>
#include <d2d1helper.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "image/obj_image.h"
#include "view_render/message_window.h"
#include "view_render/view_renderer.h"

namespace view_render {

inline constexpr UINT WM_APP_ZOOM_FRAMES_READY = 0x81F5;
inline constexpr UINT WM_APP_FIRST_FRAME_READY = 0x81F6;
inline constexpr UINT WM_APP_FIT_FRAME_READY = 0x81FA;

struct CZoomKeyFrame {
  float ratio = 1.0f;
  image::FCObjImage image;  // 32 bpp, premultiplied
  Microsoft::WRL::ComPtr<ID2D1Bitmap> d2d;  // made from image on the UI thread when first drawn
  // Places the frame over the rectangle through the render target; false without a bitmap.
  bool Draw(ID2D1RenderTarget* target, int left, int top, int right, int bottom);
};

class CPreRenderKeyFrame : public CPreRender, public FCMessageWindow {
 public:
  struct Settings {
    HBRUSH background = nullptr;
    bool ignore_embedded_icc = false;
    bool hardware_zoom = false;
  };
  CPreRenderKeyFrame(CViewRenderer& renderer, HWND view_window, Settings settings);
  ~CPreRenderKeyFrame() override;

  HBITMAP GetFrameBitmap(int index) override;
  void Draw(HDC dc, int left, int top, int right, int bottom) override;

  [[nodiscard]] bool fit_ready() const { return fit_ready_; }
  [[nodiscard]] bool has_zoom_frame(char which) const;
  [[nodiscard]] bool has_render_target() const { return target_ != nullptr; }
  // After a lost device: a new window (tasks for the old one find it gone), no target, no zoom frames.
  void Reset();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void StartFit();
  void SetFitBitmap(HBITMAP bitmap);
  void QueueFitView(bool skip_cache);
  void RequestZoomContext();
  void DrawFit(HDC dc, int left, int top, int right, int bottom);
  bool DrawWithTarget(HDC dc, const std::string& order, int left, int top, int right, int bottom);
  // The fit bitmap as a frame for the render target, copied from the bitmap on first use.
  CZoomKeyFrame* FitFrame();

  HWND view_;
  Settings settings_;
  float fit_ratio_;
  int fit_w_, fit_h_;
  HBITMAP fit_bitmap_ = nullptr;
  bool fit_ready_ = false;
  bool zoom_requested_ = false;
  std::shared_ptr<CZoomKeyFrame> a_, b_, f_;
  CZoomKeyFrame fit_frame_;  // the fit bitmap as a frame for the render target
  Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target_;
};

}  // namespace view_render
