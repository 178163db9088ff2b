#include "view_render/buffered_view.h"

namespace view_render {

CBufferedView::CBufferedView(int width, int height) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  back_ = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
  ReleaseDC(nullptr, screen);
  if (dc_ && back_) previous_ = SelectObject(dc_, back_);
}

CBufferedView::~CBufferedView() {
  if (dc_ && previous_) SelectObject(dc_, previous_);
  if (back_) DeleteObject(back_);
  if (scratch_) DeleteObject(scratch_);
  if (dc_) DeleteDC(dc_);
}

void CBufferedView::Shift(int dx, int dy) {
  HDC screen = GetDC(nullptr);
  if (!scratch_) scratch_ = CreateCompatibleBitmap(screen, width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1);
  HDC other = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!scratch_ || !other) {
    if (other) DeleteDC(other);
    return;
  }
  HGDIOBJ old = SelectObject(other, scratch_);
  BitBlt(other, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  BitBlt(dc_, dx, dy, width_, height_, other, 0, 0, SRCCOPY);
  SelectObject(other, old);
  DeleteDC(other);
}

}  // namespace view_render
