#include "ui_toolkit/shadow_window.h"

#include "basic_lib/scoped_handle.h"
#include "basic_lib/window_class.h"
#include "ui_toolkit/painter.h"

namespace ui_toolkit {
namespace {

constexpr wchar_t kShadowClass[] = L"VistromaShadowWnd";

bool RegisterShadowClass(HINSTANCE instance) {
  return basic_lib::RegisterWindowClassOnce(instance, kShadowClass, DefWindowProcW);
}

}  // namespace

CShadowWindow::~CShadowWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool CShadowWindow::Create(HWND host, const WindowSpec& window, PackageSource source) {
  if (hwnd_ || window.shadow_size <= 0 || window.shadow_image.file.empty()) return false;
  HINSTANCE instance = CToolkit::Get().instance();
  if (!RegisterShadowClass(instance)) return false;
  host_ = host;
  window_ = window;
  source_ = source;
  // Owned by the host's owner, not by the host: an owned window always lies above its owner, and the
  // shadow must lie below the host.
  hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kShadowClass, L"",
                          WS_POPUP, 0, 0, 0, 0, GetWindow(host, GW_OWNER), nullptr, instance, nullptr);
  return hwnd_ != nullptr;
}

void CShadowWindow::Render(int width, int height) {
  if (surface_ && surface_->width() == width && surface_->height() == height) return;
  surface_ = CPicture::Create(width, height);
  if (!surface_) return;
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(nullptr));
  basic_lib::ScopedSelectObject select(mem.get(), surface_->bitmap());
  PaintContext ctx{mem.get(), nullptr, source_, {0, 0}, {0, 0, width, height}, true};
  ImageSpec image = window_.shadow_image;
  if (!image.corner && window_.shadow_corner != Rect{}) image.corner = window_.shadow_corner;
  PaintImage(ctx, image, {0, 0, width, height});
}

void CShadowWindow::Follow() {
  if (!hwnd_) return;
  if (!IsWindowVisible(host_) || IsIconic(host_) || IsZoomed(host_)) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  RECT host{};
  GetWindowRect(host_, &host);
  const int s = window_.shadow_size;
  POINT pos{host.left - s, host.top - s};
  SIZE size{host.right - host.left + 2 * s, host.bottom - host.top + 2 * s};
  Render(size.cx, size.cy);
  if (!surface_) return;
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(nullptr));
  basic_lib::ScopedSelectObject select(mem.get(), surface_->bitmap());
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd_, nullptr, &pos, &size, mem.get(), &origin, 0, &blend, ULW_ALPHA);
  SetWindowPos(hwnd_, host_, pos.x, pos.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace ui_toolkit
