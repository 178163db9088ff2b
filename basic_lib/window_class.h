#pragma once
// Registering the program's own window classes: once per module, on first use, leaving an existing
// registration as it is.
#include <windows.h>

namespace basic_lib {

// True when the class is registered now, whether by this call or an earlier one.
bool RegisterWindowClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style = 0,
                             HCURSOR cursor = nullptr);

}  // namespace basic_lib
