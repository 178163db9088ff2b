#pragma once
// WndMainLogo: the product mark at the top-left of the caption strip, large (mark and name) while no
// picture is shown and small (the mark alone) otherwise. UI thread only.
#include "widget_window/widget_window.h"

namespace main_view {

class WndMainLogo : public widget_window::CWidgetWindow {
 public:
  HWND Create(HWND parent, const RECT& rect, UINT id);
  // Shows one form and moves the window to its place in the parent's client area.
  void Switch(bool large);
  [[nodiscard]] bool large() const { return large_; }

 protected:
  void DrawBackground(HDC dc, const RECT& area) override;

 private:
  bool large_ = true;
};

}  // namespace main_view
