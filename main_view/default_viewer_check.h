#pragma once
// CStartDefaultViewerCheck: the start-up question whether the viewer is still the default picture
// program. It runs once per session in the copy that wins the association mutex, on a worker thread
// that asks the association component and posts the main window the prompt request when the answer is
// no and the prompt is wanted.
#include <windows.h>

namespace main_view {

class CStartDefaultViewerCheck {
 public:
  CStartDefaultViewerCheck() = default;
  CStartDefaultViewerCheck(const CStartDefaultViewerCheck&) = delete;
  CStartDefaultViewerCheck& operator=(const CStartDefaultViewerCheck&) = delete;
  // Waits for the worker without limit.
  ~CStartDefaultViewerCheck();

  // Takes the association mutex without waiting and, when it is had, starts the worker.
  void Start(HWND main_window);
  [[nodiscard]] HANDLE thread() const { return thread_; }

 private:
  static unsigned __stdcall Worker(void* main_window);
  HANDLE thread_ = nullptr;
};

}  // namespace main_view
