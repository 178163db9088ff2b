#pragma once
// CViewRenderer: one shown picture in the image view. It keeps the zoom (CViewZoom), paints the visible
// part into the off-screen buffer through the picture's pre-renderer, pans by shifting the buffer and
// repainting only the uncovered strips, and paints the window from the buffer. UI thread only.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "view_render/buffered_view.h"
#include "view_render/view_geometry.h"

namespace view_render {

class CViewRenderer;

// Draws the zoomed picture; the key-frame and animation pre-renderers implement it.
class CPreRender {
 public:
  explicit CPreRender(CViewRenderer& renderer) : renderer_(renderer) {}
  CPreRender(const CPreRender&) = delete;
  CPreRender& operator=(const CPreRender&) = delete;
  virtual ~CPreRender() = default;
  // A ready frame (0: the first or fit frame), owned by the pre-renderer; null when there is none.
  [[nodiscard]] virtual HBITMAP GetFrameBitmap(int index) = 0;
  // The whole zoomed picture drawn to cover the rectangle (the DC clips what lies outside).
  virtual void Draw(HDC dc, int left, int top, int right, int bottom) = 0;

 protected:
  CViewRenderer& renderer_;
};

class CViewRenderer {
 public:
  struct Settings {
    ZoomSettings zoom;
    bool long_image_mode = false;
    HBRUSH canvas = nullptr;
    // Makes the pre-renderer for a new view size (after the geometry is in place).
    std::function<std::unique_ptr<CPreRender>(CViewRenderer&)> make_pre_render;
    std::function<void()> cancel_work;          // the current picture's queue, before a rebuild
    std::function<void(float ratio)> zoom_percent;  // the title
    std::function<void(float ratio, float fit)> zoom_changed;  // the UI event
    std::function<void(const std::wstring& line)> log;         // diagnostic lines of a new geometry
  };

  CViewRenderer(HWND view, int picture_width, int picture_height, bool long_picture, int view_width, int view_height,
                Settings settings);

  void SetViewSize(int width, int height);
  void SetZoom(float ratio, int anchor_x, int anchor_y);
  void ZoomBy(int steps, int anchor_x, int anchor_y);
  void ToggleFitCenter();
  void ToggleFitAt(int x, int y);
  void Pan(int dx, int dy);
  void Redraw();
  void RedrawAndShow();
  void Paint(HDC dc, int width, int height, bool sizing);

  [[nodiscard]] const CViewZoom& zoom() const { return zoom_; }
  [[nodiscard]] const CBufferedView* buffer() const { return buffer_.get(); }
  [[nodiscard]] CPreRender* pre_render() const { return pre_render_.get(); }
  [[nodiscard]] bool not_ready() const { return not_ready_; }

 private:
  void AfterZoom(bool changed);
  void QuickPaint(HDC dc, int width, int height);

  HWND view_;
  int picture_w_, picture_h_;
  Settings settings_;
  CViewZoom zoom_;
  std::unique_ptr<CBufferedView> buffer_;
  std::unique_ptr<CPreRender> pre_render_;
  bool not_ready_ = false;
};

}  // namespace view_render
