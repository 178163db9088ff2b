#include "main_view/default_viewer_check.h"

#include <process.h>

#include "app/app_config.h"
#include "app/app_paths.h"
#include "app/process_control.h"
#include "basic_lib/association_library.h"
#include "main_view/main_messages.h"

namespace main_view {

CStartDefaultViewerCheck::~CStartDefaultViewerCheck() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

void CStartDefaultViewerCheck::Start(HWND main_window) {
  if (thread_) return;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, app::kAssociationMutex);
  if (!mutex) return;
  // Only the copy that gets the mutex at once checks. The UI thread lets it go again straight away (an
  // install launch waits for it without limit); the worker holds it for the length of the question.
  if (WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0) {
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Worker, main_window, 0, nullptr));
    ReleaseMutex(mutex);
  }
  CloseHandle(mutex);
}

unsigned __stdcall CStartDefaultViewerCheck::Worker(void* param) {
  HWND main_window = static_cast<HWND>(param);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, app::kAssociationMutex);
  const bool held = mutex && WaitForSingleObject(mutex, 5000) == WAIT_OBJECT_0;
  const std::optional<int> answer =
      basic_lib::CallAssociationQuery(app::GetExeFolder() + basic_lib::kAssociationLibrary, "IsAssociationOK");
  if (held) ReleaseMutex(mutex);
  if (mutex) CloseHandle(mutex);
  app::CAppConfig& config = app::CAppConfig::Get();
  const int associated = answer.value_or(1);
  if (associated == 0 && config.default_viewer_start_tip) PostMessageW(main_window, WM_APP_ASK_DEFAULT_VIEWER, 0, 0);
  config.set_default_viewer = associated != 0 ? 1 : 0;
  return 0;
}

}  // namespace main_view
