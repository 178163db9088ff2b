#include "view_render/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace view_render {

CViewGeometry::CViewGeometry(int vw, int vh, int zw, int zh) : view_width(vw), view_height(vh) { SetZoomedSize(zw, zh); }

void CViewGeometry::SetZoomedSize(int w, int h) {
  zoomed_width = w;
  zoomed_height = h;
  const int left = (view_width - w) / 2, top = (view_height - h) / 2;
  destination = {std::max(0, left), std::max(0, top), std::min(view_width, left + w), std::min(view_height, top + h)};
  overflow_x = std::max(0, w - view_width);
  overflow_y = std::max(0, h - view_height);
  ScrollTo(0, 0, 0, 0);
}

void CViewGeometry::ScrollTo(float zx, float zy, int ax, int ay) {
  source = {0, 0, zoomed_width, zoomed_height};
  if (overflow_x > 0) {
    const int offset = std::clamp(static_cast<int>(std::lroundf(zx)) - ax, 0, overflow_x);
    source.left = offset;
    source.right = offset + view_width;
  }
  if (overflow_y > 0) {
    const int offset = std::clamp(static_cast<int>(std::lroundf(zy)) - ay, 0, overflow_y);
    source.top = offset;
    source.bottom = offset + view_height;
  }
}

IntPoint CViewGeometry::Origin() const {
  return {overflow_x > 0 ? -source.left : destination.left, overflow_y > 0 ? -source.top : destination.top};
}

float CViewZoom::FitFor(int width, int height) const {
  if (picture_w_ <= 0 || picture_h_ <= 0) return 1.0f;
  return std::min({static_cast<float>(width) / static_cast<float>(picture_w_),
                   static_cast<float>(height) / static_cast<float>(picture_h_), 1.0f});
}

void CViewZoom::ZoomedSizeFor(float ratio, int& width, int& height) const {
  width = std::max(1, static_cast<int>(static_cast<float>(picture_w_) * ratio));
  height = std::max(1, static_cast<int>(static_cast<float>(picture_h_) * ratio));
}

bool CViewZoom::SetViewSize(int width, int height, const ZoomSettings& settings) {
  if (has_view_ && geometry_.view_width == width && geometry_.view_height == height) return false;
  has_view_ = true;
  fit_ = FitFor(width, height);
  ratio_ = fit_;
  int zw = 0, zh = 0;
  ZoomedSizeFor(fit_, zw, zh);
  effective_x_ = static_cast<float>(zw) / static_cast<float>(picture_w_);
  effective_y_ = static_cast<float>(zh) / static_cast<float>(picture_h_);
  double_click_ = settings.double_click_actual_size ? 1.0f : 2.0f * fit_;
  geometry_ = CViewGeometry(width, height, zw, zh);
  return true;
}

bool CViewZoom::SetZoom(float r, int ax, int ay) {
  const IntPoint origin = geometry_.Origin();
  const float px = static_cast<float>(ax - origin.x) / effective_x_;
  const float py = static_cast<float>(ay - origin.y) / effective_y_;
  ratio_ = r;
  int zw = 0, zh = 0;
  ZoomedSizeFor(r, zw, zh);
  effective_x_ = static_cast<float>(zw) / static_cast<float>(picture_w_);
  effective_y_ = static_cast<float>(zh) / static_cast<float>(picture_h_);
  if (zw == geometry_.zoomed_width && zh == geometry_.zoomed_height) return false;
  geometry_.SetZoomedSize(zw, zh);
  geometry_.ScrollTo(effective_x_ * px, effective_y_ * py, ax, ay);
  return true;
}

bool CViewZoom::ZoomBy(int steps, int ax, int ay, const ZoomSettings& settings) {
  float r = (static_cast<float>(steps) * 0.1f + 1.0f) * ratio_;
  const float lower = std::min(0.05f, fit_);
  const float upper = static_cast<float>(settings.max_zoom_ratio);
  r = r < upper ? std::max(r, lower) : upper;
  return SetZoom(r, ax, ay);
}

bool CViewZoom::ToggleFitCenter() {
  return SetZoom(ratio_ == fit_ ? 1.0f : fit_, geometry_.view_width / 2, geometry_.view_height / 2);
}

bool CViewZoom::ToggleFitAt(int x, int y) { return SetZoom(ratio_ == fit_ ? double_click_ : fit_, x, y); }

std::optional<IntPoint> CViewZoom::Pan(int dx, int dy) {
  const IntRect before = geometry_.source;
  IntRect r = before;
  r.left -= dx, r.right -= dx, r.top -= dy, r.bottom -= dy;
  if (r.left < 0) r.right -= r.left, r.left = 0;
  else if (r.right > geometry_.zoomed_width) r.left -= r.right - geometry_.zoomed_width, r.right = geometry_.zoomed_width;
  if (r.top < 0) r.bottom -= r.top, r.top = 0;
  else if (r.bottom > geometry_.zoomed_height) r.top -= r.bottom - geometry_.zoomed_height, r.bottom = geometry_.zoomed_height;
  if (r == before) return std::nullopt;
  geometry_.source = r;
  return IntPoint{before.left - r.left, before.top - r.top};
}

}  // namespace view_render
