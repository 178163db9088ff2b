#include "app/process_control.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cwctype>

#include "app/app_paths.h"
#include "basic_lib/scoped_handle.h"

namespace app {
namespace {

std::wstring Upper(std::wstring text) {
  for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towupper(ch));
  return text;
}

void EnableDebugPrivilege() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  basic_lib::ScopedKernelHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
}

}  // namespace

bool MutexExists(const wchar_t* name) {
  // An unnamed mutex made and closed only to set the last error to 0 before the open.
  CloseHandle(CreateMutexW(nullptr, FALSE, nullptr));
  HANDLE opened = OpenMutexW(MUTEX_MODIFY_STATE, FALSE, name);
  const DWORD error = GetLastError();
  if (opened) CloseHandle(opened);
  SetLastError(error);
  if (opened) return true;
  return error == ERROR_ACCESS_DENIED;
}

bool IsUpdatePendingIn(const std::wstring& exe_folder) {
  const std::wstring ini = exe_folder + L"config.ini";
  if (!PathFileExistsW(ini.c_str())) return false;
  wchar_t state[260] = {};
  GetPrivateProfileStringW(L"update", L"state", L"", state, 260, ini.c_str());
  return wcscmp(state, L"velmoUpdate") == 0 && !MutexExists(kUpdaterMutex);
}

bool IsUpdatePending() { return IsUpdatePendingIn(GetExeFolder()); }

bool LaunchTray(const std::wstring& extra) {
  if (MutexExists(kTrayMutex) || MutexExists(kTrayUpgradeMutex)) return false;
  const std::wstring exe = GetExeFolder() + kTrayExe;
  const std::wstring parameters = extra + L" --from=main";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", exe.c_str(), parameters.c_str(), nullptr, SW_SHOWDEFAULT));
  return result > 32;
}

void TerminateProcessesByPath(const std::wstring& path) {
  if (path.size() > MAX_PATH) return;
  EnableDebugPrivilege();
  const std::wstring wanted = Upper(path);
  DWORD ids[512];
  DWORD bytes = 0;
  if (!K32EnumProcesses(ids, sizeof(ids), &bytes)) return;
  for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
    basic_lib::ScopedKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
    if (!process) continue;
    wchar_t image[MAX_PATH] = {};
    if (!K32GetModuleFileNameExW(process.get(), nullptr, image, MAX_PATH)) continue;
    std::wstring name = image;
    if (name.find(L'~') != std::wstring::npos) {
      wchar_t expanded[MAX_PATH] = {};
      if (GetLongPathNameW(image, expanded, MAX_PATH)) name = expanded;
    }
    if (Upper(name) != wanted) continue;
    if (basic_lib::ScopedKernelHandle victim(OpenProcess(PROCESS_TERMINATE, FALSE, ids[i])); victim)
      TerminateProcess(victim.get(), 0);
  }
}

}  // namespace app
