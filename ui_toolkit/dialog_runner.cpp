#include "ui_toolkit/dialog_runner.h"

#include "ui_toolkit/placement.h"

namespace ui_toolkit {
namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void CentreOnOwner(HWND dialog, HWND owner) {
  RECT own{}, self{};
  GetWindowRect(dialog, &self);
  const bool usable_owner = owner && IsWindow(owner) && IsWindowVisible(owner) && !IsIconic(owner);
  if (usable_owner) GetWindowRect(owner, &own);
  HMONITOR monitor = usable_owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                  : MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  RECT work{};
  if (GetMonitorInfoW(monitor, &info)) work = info.rcWork;
  else SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const Rect place = CentreDialog({self.right - self.left, self.bottom - self.top},
                                  usable_owner ? std::optional<Rect>(ToRect(own)) : std::nullopt, ToRect(work));
  SetWindowPos(dialog, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int RunModalDialog(CWindowUI& dialog, HWND owner) {
  HWND hwnd = dialog.Create(owner, kDialogStyle & ~WS_VISIBLE, 0);
  if (!hwnd) return -1;
  CentreOnOwner(hwnd, owner);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  const bool owner_was_enabled = owner && IsWindow(owner) && IsWindowEnabled(owner);
  if (owner_was_enabled) EnableWindow(owner, FALSE);

  int code = 0;
  MSG msg;
  while (!dialog.closed()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      break;
    }
    if (dialog.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (dialog.closed()) code = dialog.close_code();

  // Enable the owner before the dialog goes, so the activation passes to it and not to another program.
  if (owner_was_enabled) EnableWindow(owner, TRUE);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  if (owner && IsWindow(owner)) {
    SetForegroundWindow(owner);
    SetFocus(owner);
  }
  return code;
}

}  // namespace ui_toolkit
