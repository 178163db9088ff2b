#include "main_view/view_item_geometry.h"

#include <algorithm>

namespace main_view {

WelcomePlacement PlaceWelcome(SIZE client, SIZE slogan, SIZE button) {
  WelcomePlacement p;
  const int left = (client.cx - slogan.cx) / 2;
  const int top = (client.cy - slogan.cy - 52) / 2;
  p.slogan = {left, top, left + slogan.cx, top + slogan.cy};
  const int bx = left + 7, by = p.slogan.bottom + 87;
  p.button = {bx, by, bx + button.cx, by + button.cy};
  return p;
}

RECT CentredTip(SIZE client) {
  const int left = (client.cx - kTipWidth) / 2, top = (client.cy - kTipHeight) / 2;
  return {left, top, left + kTipWidth, top + kTipHeight};
}

std::array<Band, 3> ArrowBands(int p, int h) {
  const int b = p - 10;
  const int e = (h - b) / 2;
  return {{{0, 5, 0, e}, {5, p - 5, e, e + b}, {p - 5, p, e + b, h}}};
}

RECT FitFrame(int w, int h, int side) {
  int fw = side, fh = side;
  if (w < side || h < side) {
    const int limit = std::min(w, h);
    fw = fh = std::max(1, limit);
  }
  const int left = (w - fw) / 2, top = (h - fh) / 2;
  return {left, top, left + fw, top + fh};
}

}  // namespace main_view
