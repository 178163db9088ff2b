#pragma once
// CTormaveDlg: the process's one main window, a borderless dialog (template 102, class
// "VistromaMainFrameClass-b1f78b3cc4bd764c") run modally as the program's main loop. It draws the dark
// canvas and the caption strip with its title and buttons, hosts the image view and the logo, turns keys
// (accelerator table 128), clicks and private messages into commands, answers hand-offs from later
// launches, and takes the close path: closing flag, the quit message, a forced exit one second later.
// UI thread only.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "app/modal_dialog.h"
#include "basic_lib/scoped_handle.h"
#include "main_view/default_viewer_check.h"
#include "main_view/image_view.h"
#include "main_view/logo.h"
#include "main_view/main_layout.h"
#include "main_view/serial_job_thread.h"
#include "popup_dialog/png_button.h"

namespace main_view {

class CTormaveDlg : public app::CModalDialog {
 public:
  CTormaveDlg();
  ~CTormaveDlg() override;

  // Registers the main window class as a copy of the system dialog class; before the first dialog.
  static bool RegisterWindowClass(HINSTANCE instance);

  bool PreTranslateMessage(MSG& msg) override;

  // The close request of the close button, of the session end and of the tray.
  void RequestClose();
  [[nodiscard]] bool closing() const { return closing_; }
  [[nodiscard]] bool full_screen() const { return full_screen_; }
  // The current picture's path; empty for none.
  [[nodiscard]] const std::wstring& current_path() const;
  [[nodiscard]] UINT quit_message() const { return quit_message_; }
  [[nodiscard]] WndMainImageView& view() { return view_; }
  [[nodiscard]] WndMainLogo& logo() { return logo_; }

  // Opens a path on the current picture and shows it.
  void OpenPath(const std::wstring& path);
  void OnCommand(WORD id);

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
  void OnNcPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnDropFiles(HDROP drop);
  void OnTitleWidth(int width, int height);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  [[nodiscard]] MainLayout CurrentLayout() const;
  void Relayout(const MainLayout& layout);
  void BringToFront();
  void CompletelyExit();

  // Commands.
  void MoveInFolder(int offset);
  void ToggleFullScreen();
  void OpenWithDialog();

  WndMainImageView view_;
  WndMainLogo logo_;
  HACCEL accelerators_ = nullptr;
  std::optional<RECT> saved_rect_;  // the window's place before full screen
  UINT quit_message_ = 0;
  CStartDefaultViewerCheck default_viewer_check_;
  basic_lib::ScopedBrush brush_;
  basic_lib::ScopedFont font_normal_, font_bold_;
  popup_dialog::CPngButton close_button_, maximise_button_, minimise_button_;
  bool closing_ = false;
  bool full_screen_ = false;
  std::unique_ptr<SerialJobThread> jobs_;
};

}  // namespace main_view
