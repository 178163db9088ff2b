#pragma once
// CTormaveDlg: the process's one main window, a borderless dialog (template 102, class
// "VistromaMainFrameClass-b1f78b3cc4bd764c") run modally as the program's main loop. It draws the dark
// canvas and the caption strip, answers hand-offs from later launches, and takes the close path: closing
// flag, the quit message, a forced exit one second later.
// UI thread only.
#include <windows.h>

#include <string>

#include "app/modal_dialog.h"

namespace main_view {

class CTormaveDlg : public app::CModalDialog {
 public:
  CTormaveDlg();

  // Registers the main window class as a copy of the system dialog class; before the first dialog.
  static bool RegisterWindowClass(HINSTANCE instance);

  bool PreTranslateMessage(MSG& msg) override;

  // The close request of the close button, of the session end and of the tray.
  void RequestClose();
  [[nodiscard]] bool closing() const { return closing_; }
  // The path the window was last asked to show (start-up, hand-off or drop); empty for none.
  [[nodiscard]] const std::wstring& current_path() const { return current_path_; }
  [[nodiscard]] UINT quit_message() const { return quit_message_; }

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnOK() override {}  // Enter is a key of the view, never an end of the program
  void OnCancel() override;
  void OnDestroy() override;

 private:
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  void OnClose();
  void OnTimer(UINT_PTR id);
  void OnStartOpen();
  void OnOpenFromInstance(const wchar_t* path);
  void OnSize();
  void OnPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void BringToFront();
  void OpenPicture(const std::wstring& path);
  void CompletelyExit();

  UINT quit_message_ = 0;
  bool closing_ = false;
  bool full_screen_ = false;
  std::wstring current_path_;
};

}  // namespace main_view
