#pragma once
// CPreRenderKeyFrame: the pre-renderer of a still picture. It keeps one fit frame, made first and as
// fast as it can be had (the rotation preview, the thumbnail cache, a running preload, an extraction, a
// decode), and, once the user zooms beyond fit, frames at twice and four times the fit ratio (while
// below actual size) and at actual size, each resampled at its own ratio by the viewer's resampler.
// Pictures up to 1,640,960 pixels get their frames on the UI thread, larger ones from tasks on the
// current picture's queue, whose results come back as messages to this object's window.
// UI thread only; the tasks hold their own references to the loader and the frames they build.
#include <windows.h>

#include <memory>

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
};

class CPreRenderKeyFrame : public CPreRender, public FCMessageWindow {
 public:
  struct Settings {
    HBRUSH background = nullptr;
    bool ignore_embedded_icc = false;
  };
  CPreRenderKeyFrame(CViewRenderer& renderer, HWND view_window, Settings settings);
  ~CPreRenderKeyFrame() override;

  HBITMAP GetFrameBitmap(int index) override;
  void Draw(HDC dc, int left, int top, int right, int bottom) override;

  [[nodiscard]] bool fit_ready() const { return fit_ready_; }
  [[nodiscard]] bool has_zoom_frame(char which) const;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void StartFit();
  void SetFitBitmap(HBITMAP bitmap);
  void QueueFitView(bool skip_cache);
  void RequestZoomContext();

  HWND view_;
  Settings settings_;
  float fit_ratio_;
  int fit_w_, fit_h_;
  HBITMAP fit_bitmap_ = nullptr;
  bool fit_ready_ = false;
  bool zoom_requested_ = false;
  std::shared_ptr<CZoomKeyFrame> a_, b_, f_;
};

}  // namespace view_render
