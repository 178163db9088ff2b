#pragma once
// The application framework: one application object per process with InitInstance and ExitInstance hooks,
// as a dialog-based program needs them. AppMain is the body of wWinMain.
#include <windows.h>

#include <string>

namespace app {

class CWinApp {
 public:
  explicit CWinApp(std::wstring app_name);
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  // The application object of this process.
  static CWinApp* Current();

  // False ends the program: ExitInstance runs and its result is the exit code.
  virtual bool InitInstance() { return true; }
  // The message loop, when InitInstance returned true.
  virtual int Run();
  virtual int ExitInstance() { return 0; }

  [[nodiscard]] HINSTANCE instance() const { return instance_; }
  [[nodiscard]] const std::wstring& command_line() const { return command_line_; }
  [[nodiscard]] const std::wstring& app_name() const { return app_name_; }
  [[nodiscard]] HWND main_window() const { return main_window_; }
  void set_main_window(HWND hwnd) { main_window_ = hwnd; }

 private:
  friend int AppMain(HINSTANCE instance, const wchar_t* command_line);
  std::wstring app_name_;
  HINSTANCE instance_ = nullptr;
  std::wstring command_line_;
  HWND main_window_ = nullptr;
};

// command_line: what follows the program's own name.
int AppMain(HINSTANCE instance, const wchar_t* command_line);

}  // namespace app
