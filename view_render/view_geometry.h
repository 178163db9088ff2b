#pragma once
// Where one picture lies in the view and how zoom and pan move it: the fit ratio, the zoomed size, the
// visible part of the zoomed picture (the source rectangle) and where it lands in the view (the
// destination rectangle). Plain arithmetic; the renderer that paints from it comes on top.
#include <optional>

namespace view_render {

struct IntRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

struct IntPoint {
  int x = 0, y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

class CViewGeometry {
 public:
  CViewGeometry() = default;
  CViewGeometry(int view_width, int view_height, int zoomed_width, int zoomed_height);

  void SetZoomedSize(int width, int height);
  // Puts the zoomed-picture point (zx, zy) at the view point (ax, ay), within the overflow.
  void ScrollTo(float zx, float zy, int ax, int ay);
  // Where the zoomed picture's top-left corner lies in the view.
  [[nodiscard]] IntPoint Origin() const;

  int view_width = 0, view_height = 0;
  int zoomed_width = 0, zoomed_height = 0;
  IntRect destination;
  int overflow_x = 0, overflow_y = 0;
  IntRect source;
};

struct ZoomSettings {
  int max_zoom_ratio = 8;
  bool double_click_actual_size = false;  // "double_click_action" non-zero
};

class CViewZoom {
 public:
  CViewZoom(int picture_width, int picture_height) : picture_w_(picture_width), picture_h_(picture_height) {}

  // A new size resets to fit (true); the same size keeps the zoom (false).
  bool SetViewSize(int width, int height, const ZoomSettings& settings);
  // True when the zoomed size changed (the caller then redraws and reports).
  bool SetZoom(float ratio, int anchor_x, int anchor_y);
  bool ZoomBy(int steps, int anchor_x, int anchor_y, const ZoomSettings& settings);
  bool ToggleFitCenter();
  bool ToggleFitAt(int x, int y);
  // Moves the source rectangle; the shift of the old content (old left - new left, old top - new top),
  // or nothing when it did not move.
  std::optional<IntPoint> Pan(int dx, int dy);

  [[nodiscard]] float ratio() const { return ratio_; }
  [[nodiscard]] float fit_ratio() const { return fit_; }
  [[nodiscard]] float double_click_ratio() const { return double_click_; }
  [[nodiscard]] float effective_x() const { return effective_x_; }
  [[nodiscard]] float effective_y() const { return effective_y_; }
  [[nodiscard]] const CViewGeometry& geometry() const { return geometry_; }
  [[nodiscard]] bool has_view() const { return has_view_; }

  // The fit ratio and zoomed size a view of this size would give, without changing anything.
  [[nodiscard]] float FitFor(int width, int height) const;

 private:
  void ZoomedSizeFor(float ratio, int& width, int& height) const;

  int picture_w_, picture_h_;
  float ratio_ = 1.0f, fit_ = 1.0f, double_click_ = 2.0f;
  float effective_x_ = 1.0f, effective_y_ = 1.0f;
  CViewGeometry geometry_;
  bool has_view_ = false;
};

}  // namespace view_render
