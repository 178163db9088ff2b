#include "main_view/main_layout.h"

namespace main_view {

MainLayout ComputeMainLayout(int w, int h, bool docked) {
  MainLayout l;
  if (docked) {
    l.toolbar = {0, h - 62, w, h - 2};
    l.view = {0, kCaptionHeight, w, h - 62};
  } else {
    l.toolbar = {0, kCaptionHeight + 2, w, kCaptionHeight + 62};
    l.view = {0, kCaptionHeight + 62, w, h};
  }
  l.close = {w - 30, 1, w, 31};
  l.maximise = {w - 60, 1, w - 30, 31};
  l.minimise = {w - 90, 1, w - 60, 31};
  l.menubar = {w - 120, 1, w - 90, 31};
  return l;
}

}  // namespace main_view
