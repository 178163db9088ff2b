#pragma once
// Ties a window to the C++ object it was created for: the object comes as the creation parameter, is kept in
// GWLP_USERDATA from WM_NCCREATE on, and receives its handle there, before any later message arrives.
#include <windows.h>

namespace basic_lib {

// For a class's static window procedure: the object of hwnd, or null before WM_NCCREATE and after unbinding.
template <typename T>
T* BoundWindowObject(HWND hwnd, UINT msg, LPARAM lp, HWND T::*handle) {
  if (msg != WM_NCCREATE) return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
  self->*handle = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  return self;
}

}  // namespace basic_lib
