#include "app/launch_dispatch.h"

#include <shellapi.h>

#include <vector>

#include "app/app_paths.h"
#include "app/process_control.h"
#include "basic_lib/association_library.h"
#include "basic_lib/scoped_handle.h"
#include "ipc/hand_off.h"

namespace app {
namespace {

void Install(CAppConfig& config) {
  // Serialised with other installs and with a running viewer's start-up association check.
  basic_lib::ScopedKernelHandle mutex(CreateMutexA(nullptr, FALSE, kAssociationMutex));
  if (mutex) WaitForSingleObject(mutex.get(), INFINITE);
  config.user_set_default_viewer = 1;
  config.Save();
  basic_lib::CallAssociationExport(GetExeFolder() + basic_lib::kAssociationLibrary, "SetDefaultImageViewer", 0);
}

void Uninstall() {
  basic_lib::CallAssociationExport(GetExeFolder() + basic_lib::kAssociationLibrary, "UnInstall",
                                   static_cast<int>(0x80000001u));
  std::wstring folder = GetDataFolder();
  if (folder.empty()) return;
  folder.pop_back();  // SHFileOperation wants no trailing backslash, and a double-zero end
  folder.append(2, L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = folder.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  SHFileOperationW(&op);
}

struct IdleWindows {
  DWORD own_process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMainWindows(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<IdleWindows*>(lp);
  wchar_t class_name[64] = {};
  if (!GetClassNameW(hwnd, class_name, 64) || wcscmp(class_name, ipc::kMainWindowClass) != 0) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->own_process) search->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

LRESULT HandToAlwaysReceiver(const std::wstring& text) {
  HWND receiver = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, ipc::kAlwaysReceiverName);
  return receiver ? ipc::SendHandOff(receiver, text) : 0;
}

bool LaunchDispatch(const CCommandLine& line, CAppConfig& config) {
  if (line.HasSwitch(L"install")) {
    Install(config);
    return false;
  }
  if (line.HasSwitch(L"uninstall")) {
    Uninstall();
    return false;
  }
  if (line.HasSwitch(L"setting") && HandToAlwaysReceiver(L"--setting")) return false;
  if (line.HasSwitch(L"show-existing") && HandToAlwaysReceiver(line.GetRawLine())) return false;
  if (line.HasSwitch(L"LockscreenSet") && HandToAlwaysReceiver(line.GetRawLine())) return false;
  if (config.only_one_instance) {
    const std::wstring file = line.GetFileToOpen();
    if (HWND receiver = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, ipc::kReceiverName);
        receiver && ipc::SendHandOff(receiver, file))
      return false;
  }
  IdleWindows search{GetCurrentProcessId(), {}};
  EnumWindows(CollectMainWindows, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.found) {
    wchar_t title[16] = {};
    // A title of exactly "Vistroma": a main window that shows no picture.
    if (GetWindowTextW(window, title, 16) != 8 || wcscmp(title, L"Vistroma") != 0) continue;
    if (ipc::SendHandOff(window, line.GetFileToOpen())) return false;
  }
  return true;
}

bool LaunchDispatch() { return LaunchDispatch(CCommandLine::Get(), CAppConfig::Get()); }

}  // namespace app
