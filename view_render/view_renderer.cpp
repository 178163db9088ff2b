#include "view_render/view_renderer.h"

#include <sstream>

namespace view_render {

CViewRenderer::CViewRenderer(HWND view, int picture_width, int picture_height, bool long_picture, int view_width,
                             int view_height, Settings settings)
    : view_(view), picture_w_(picture_width), picture_h_(picture_height), settings_(std::move(settings)),
      zoom_(picture_width, picture_height) {
  SetViewSize(view_width, view_height);
  not_ready_ = !pre_render_ || !pre_render_->GetFrameBitmap(0);
  // A long picture opens at actual size, its top left corner in view.
  if (settings_.long_image_mode && long_picture) SetZoom(1.0f, 0, 0);
}

void CViewRenderer::SetViewSize(int width, int height) {
  if (buffer_ && buffer_->width() == width && buffer_->height() == height) {
    if (settings_.zoom_percent) settings_.zoom_percent(zoom_.ratio());
    return;
  }
  if (settings_.cancel_work) settings_.cancel_work();
  buffer_ = std::make_unique<CBufferedView>(width, height);
  if (settings_.log)
    settings_.log(L"actualsize.cx:" + std::to_wstring(picture_w_) + L" actualsize.cy" + std::to_wstring(picture_h_));
  zoom_ = CViewZoom(picture_w_, picture_h_);
  zoom_.SetViewSize(width, height, settings_.zoom);
  if (settings_.log) {
    std::wostringstream ratio;
    ratio << zoom_.fit_ratio();
    const CViewGeometry& g = zoom_.geometry();
    settings_.log(L"init_ratio:" + ratio.str());
    settings_.log(L"view_size.cx:" + std::to_wstring(width) + L" view_size.cy:" + std::to_wstring(height));
    settings_.log(L"zoomed_size.cx:" + std::to_wstring(g.zoomed_width) + L" zoomed_size.cy:" +
                  std::to_wstring(g.zoomed_height));
  }
  pre_render_.reset();
  if (settings_.make_pre_render) pre_render_ = settings_.make_pre_render(*this);
  Redraw();
  if (settings_.zoom_percent) settings_.zoom_percent(zoom_.ratio());
}

void CViewRenderer::Redraw() {
  if (!buffer_) return;
  RECT all{0, 0, buffer_->width(), buffer_->height()};
  if (settings_.canvas) FillRect(buffer_->dc(), &all, settings_.canvas);
  else FillRect(buffer_->dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const CViewGeometry& g = zoom_.geometry();
  const IntPoint o = g.Origin();
  if (pre_render_) pre_render_->Draw(buffer_->dc(), o.x, o.y, o.x + g.zoomed_width, o.y + g.zoomed_height);
}

void CViewRenderer::RedrawAndShow() {
  Redraw();
  if (view_ && IsWindow(view_)) {
    InvalidateRect(view_, nullptr, TRUE);
    UpdateWindow(view_);
  }
}

void CViewRenderer::AfterZoom(bool changed) {
  if (!changed) return;
  Redraw();
  if (settings_.zoom_percent) settings_.zoom_percent(zoom_.ratio());
  if (settings_.zoom_changed) settings_.zoom_changed(zoom_.ratio(), zoom_.fit_ratio());
}

void CViewRenderer::SetZoom(float ratio, int ax, int ay) { AfterZoom(zoom_.SetZoom(ratio, ax, ay)); }
void CViewRenderer::ZoomBy(int steps, int ax, int ay) { AfterZoom(zoom_.ZoomBy(steps, ax, ay, settings_.zoom)); }
void CViewRenderer::ToggleFitCenter() { AfterZoom(zoom_.ToggleFitCenter()); }
void CViewRenderer::ToggleFitAt(int x, int y) { AfterZoom(zoom_.ToggleFitAt(x, y)); }

void CViewRenderer::Pan(int dx, int dy) {
  const std::optional<IntPoint> shift = zoom_.Pan(dx, dy);
  if (!shift || !buffer_) return;
  // The old content moves; only the strips it uncovers are painted again.
  buffer_->Shift(shift->x, shift->y);
  HDC dc = buffer_->dc();
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, shift->x, shift->y, shift->x + buffer_->width(), shift->y + buffer_->height());
  Redraw();
  RestoreDC(dc, saved);
}

void CViewRenderer::Paint(HDC dc, int width, int height, bool sizing) {
  if (sizing) {
    QuickPaint(dc, width, height);
    return;
  }
  if (buffer_) BitBlt(dc, 0, 0, buffer_->width(), buffer_->height(), buffer_->dc(), 0, 0, SRCCOPY);
}

void CViewRenderer::QuickPaint(HDC dc, int width, int height) {
  // The fit frame stretched to a fit of the new size; nothing is rebuilt until the resize ends.
  CViewZoom temporary(picture_w_, picture_h_);
  temporary.SetViewSize(width, height, settings_.zoom);
  HBITMAP frame = pre_render_ ? pre_render_->GetFrameBitmap(0) : nullptr;
  if (settings_.zoom_percent) settings_.zoom_percent(temporary.ratio());
  if (!frame) return;
  BITMAP info{};
  GetObjectW(frame, sizeof(info), &info);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, frame);
  const int previous = SetStretchBltMode(dc, COLORONCOLOR);
  const CViewGeometry& g = temporary.geometry();
  const IntPoint o = g.Origin();
  StretchBlt(dc, o.x, o.y, g.zoomed_width, g.zoomed_height, mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SetStretchBltMode(dc, previous);
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace view_render
