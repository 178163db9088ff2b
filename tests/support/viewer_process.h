#pragma once
// Drives real copies of Vistroma.exe from a test: an installation folder of its own, processes started
// with a command line, their windows found by class and process, their ends awaited.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/support/message_pump.h"
#include "tests/support/temp_dir.h"

namespace test_support {

// A copy of the shipped folder (program, siblings, resources) under a temp folder with a non-ASCII name.
class ViewerInstall {
 public:
  struct Options {
    bool package = true;         // resources\res.zip
    bool statistics = true;      // brastel.dll
    bool tray_peer = false;      // the tests' VistromaTray.exe
  };
  ViewerInstall() : ViewerInstall(Options{}) {}
  explicit ViewerInstall(const Options& options);
  [[nodiscard]] const std::wstring& folder() const { return dir_.path(); }
  [[nodiscard]] std::wstring exe() const { return dir_.path() + L"Vistroma.exe"; }

 private:
  TempDir dir_{L"install"};
};

class ViewerProcess {
 public:
  ViewerProcess() = default;
  ViewerProcess(const ViewerProcess&) = delete;
  ViewerProcess& operator=(const ViewerProcess&) = delete;
  ~ViewerProcess();  // ends a process still running

  bool Start(const std::wstring& exe, const std::wstring& arguments);
  [[nodiscard]] DWORD pid() const { return pid_; }
  // A visible top-level window of the class that belongs to this process; null when none came in time.
  HWND WaitForWindow(const wchar_t* class_name, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  [[nodiscard]] HWND FindWindowOf(const wchar_t* class_name) const;
  // The exit code, or nothing when it still runs after the timeout.
  std::optional<DWORD> WaitExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  [[nodiscard]] bool Running() const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// The viewer's per-user data folder in this prefix, with its trailing backslash.
std::wstring ViewerDataFolder();
}  // namespace test_support
