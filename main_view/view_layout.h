#pragma once
// CMainViewLayout: places the image view's items in its client rectangle: the arrows at the edges, the
// loading and error displays over everything, the welcome pair and the tips centred.
#include "widget_window/widget_window.h"

namespace main_view {

class CMainViewLayout : public widget_window::CWidgetLayout {
 public:
  explicit CMainViewLayout(int arrow_width) : arrow_width_(arrow_width) {}
  void Layout(HWND window, std::vector<std::unique_ptr<widget_window::CWidgetItem>>& items) override;

 private:
  int arrow_width_;
};

}  // namespace main_view
