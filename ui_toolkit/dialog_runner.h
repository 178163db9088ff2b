#pragma once
// Runs a toolkit window as a modal dialog over an owner: pop-up style 0x96C80000, centred on the owner
// (or on the work area when the owner is missing, hidden or minimised) and kept inside the work area;
// the owner is disabled for the run, which lasts until the dialog gets WM_CLOSE; wParam of that message
// is the close code returned. The owner is enabled and focused again afterwards.
#include <windows.h>

#include "ui_toolkit/window.h"

namespace ui_toolkit {

inline constexpr DWORD kDialogStyle = 0x96C80000;

// -1 when the window could not be created. A WM_QUIT during the run is posted again and ends it with 0.
int RunModalDialog(CWindowUI& dialog, HWND owner);
// Moves a created dialog to its place by the rule above.
void CentreOnOwner(HWND dialog, HWND owner);

}  // namespace ui_toolkit
