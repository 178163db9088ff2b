#pragma once
// The program's own message box: a 392 x 182 toolkit window ("msgbox.xml") with a text and one or two
// buttons, run modally over its owner. It can be built from the archive inside the program, for the
// start-up failure when the resource package itself may be missing.
// UI thread only.
#include <windows.h>

#include <string>

#include "ui_toolkit/window.h"

namespace popup_dialog {

// Button kinds and the close codes their buttons give.
inline constexpr int kMsgBoxOk = 0;          // "确定" (or the custom text) → 1
inline constexpr int kMsgBoxOkCancel = 1;    // "确定" → 1, "取消" → 2
inline constexpr int kMsgBoxYesNo = 4;       // "是" → 6, "否" → 7
inline constexpr int kMsgBoxClosed = 8;      // "cls", and Esc

class CMessageBox : public ui_toolkit::CWindowUI {
 public:
  CMessageBox(HWND owner, std::wstring text, int kind, std::wstring alignment = L"center", bool embedded = false,
              std::wstring right_text = {});

  [[nodiscard]] int right_code() const { return right_code_; }
  [[nodiscard]] int left_code() const { return left_code_; }

 protected:
  void InitWindow() override;
  void Notify(ui_toolkit::TNotifyUI& msg) override;

 private:
  void AddButton(ui_toolkit::CControlUI* area, const wchar_t* name, const std::wstring& text, bool orange,
                 const ui_toolkit::Rect& pos);

  std::wstring text_;
  std::wstring alignment_;
  int kind_;
  bool embedded_;
  HWND owner_;
  std::wstring right_text_;
  int right_code_ = 1;
  int left_code_ = 2;
};

// Runs a message box over owner (or over the work area without one) and returns its close code;
// -1 when it could not be shown.
int ShowMessageBox(HWND owner, const std::wstring& text, int kind, const std::wstring& alignment = L"center",
                   bool embedded = false);
// A one-button notice, left aligned, from the resource package, the button saying button_text.
int ShowNoticeBox(HWND owner, const std::wstring& text, const std::wstring& button_text);

}  // namespace popup_dialog
