#include "basic_lib/window_class.h"

namespace basic_lib {

bool RegisterWindowClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace basic_lib
