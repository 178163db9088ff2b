#include "app/modal_dialog.h"

namespace app {

CModalDialog::~CModalDialog() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

HWND CModalDialog::Create(HWND owner) {
  if (hwnd_) return hwnd_;
  ended_ = false;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id_), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
  return hwnd_;
}

INT_PTR CModalDialog::DoModal(HWND owner) {
  if (!Create(owner)) return -1;
  const bool owner_enabled = owner && IsWindowEnabled(owner);
  if (owner_enabled) EnableWindow(owner, FALSE);
  MSG msg;
  while (!ended_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT ends the run and goes on to whoever runs the outer loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      break;
    }
    if (PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner_enabled) EnableWindow(owner, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  return result_;
}

void CModalDialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // wake the loop, which then sees the end
}

bool CModalDialog::PreTranslateMessage(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

bool CModalDialog::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
  if (msg == WM_COMMAND && HIWORD(wp) <= 1) {
    if (LOWORD(wp) == IDOK) {
      OnOK();
      return true;
    }
    if (LOWORD(wp) == IDCANCEL) {
      OnCancel();
      return true;
    }
  }
  return false;
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CModalDialog*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
    return self->OnInitDialog() ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_DESTROY) self->OnDestroy();
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  LRESULT result = 0;
  if (!self->OnMessage(msg, wp, lp, result)) return FALSE;
  switch (msg) {
    // These return their result straight from the dialog procedure.
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return static_cast<INT_PTR>(result);
  }
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace app
