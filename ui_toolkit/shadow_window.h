#pragma once
// The soft shadow around a toolkit window: a separate layered, click-through window just below its host
// in the z-order, painted once per size from the layout's shadow picture as a nine-grid. A separate
// window keeps the host an ordinary window, so its native edit children paint as usual.
// UI thread only.
#include <windows.h>

#include <memory>

#include "ui_toolkit/layout_document.h"
#include "ui_toolkit/picture.h"
#include "ui_toolkit/toolkit.h"

namespace ui_toolkit {

class CShadowWindow {
 public:
  CShadowWindow() = default;
  CShadowWindow(const CShadowWindow&) = delete;
  CShadowWindow& operator=(const CShadowWindow&) = delete;
  ~CShadowWindow();

  // False when the layout has no shadow or the window cannot be made.
  bool Create(HWND host, const WindowSpec& window, PackageSource source);
  // Puts the shadow where the host is now, or hides it when the host is hidden, minimised or maximised.
  void Follow();
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  // The premultiplied pixels last given to the window; the host lies at (size, size) inside them.
  [[nodiscard]] const CPicture* surface() const { return surface_.get(); }
  [[nodiscard]] int size() const { return window_.shadow_size; }

 private:
  void Render(int width, int height);

  HWND host_ = nullptr;
  HWND hwnd_ = nullptr;
  WindowSpec window_;
  PackageSource source_ = PackageSource::kResourcePackage;
  std::unique_ptr<CPicture> surface_;
};

}  // namespace ui_toolkit
