#pragma once
// CBufferedView: the view's off-screen buffer, a screen-compatible bitmap selected into a memory DC,
// with a second bitmap kept for shifting the content when the picture is panned. UI thread only.
#include <windows.h>

namespace view_render {

class CBufferedView {
 public:
  CBufferedView(int width, int height);
  CBufferedView(const CBufferedView&) = delete;
  CBufferedView& operator=(const CBufferedView&) = delete;
  ~CBufferedView();

  [[nodiscard]] HDC dc() const { return dc_; }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] HBITMAP bitmap() const { return back_; }
  // Moves the content by (dx, dy) through the scratch bitmap; the uncovered strips keep old pixels.
  void Shift(int dx, int dy);

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP back_ = nullptr;
  HBITMAP scratch_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace view_render
