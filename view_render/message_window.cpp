#include "view_render/message_window.h"

#include <cwchar>

#include "basic_lib/window_class.h"

namespace view_render {
namespace {

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

FCMessageWindow::~FCMessageWindow() { DestroyMessageWindow(); }

bool FCMessageWindow::CreateMessageWindow(const wchar_t* name) {
  DestroyMessageWindow();
  HINSTANCE instance = ThisModule();
  // One class per module, named after the module's instance handle.
  wchar_t class_name[64];
  swprintf(class_name, 64, L"quiltar_msgwnd_%lld", static_cast<long long>(reinterpret_cast<INT_PTR>(instance)));
  if (!basic_lib::RegisterWindowClassOnce(instance, class_name, SharedWindowProc)) return false;
  hwnd_ = CreateWindowExW(0, class_name, name, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void FCMessageWindow::DestroyMessageWindow() {
  if (!hwnd_) return;
  HWND gone = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
  DestroyWindow(gone);
}

LRESULT FCMessageWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT CALLBACK FCMessageWindow::SharedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<FCMessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->WindowProc(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace view_render
