#include "tests/support/viewer_process.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace test_support {
namespace {

void CopyInto(const std::wstring& from, const std::wstring& to) {
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) ADD_FAILURE() << "cannot copy into the install folder";
}

void CopyMatching(const std::wstring& from, const wchar_t* pattern, const std::wstring& to) {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((from + pattern).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do CopyInto(from + found.cFileName, to + found.cFileName);
  while (FindNextFileW(find, &found));
  FindClose(find);
}

struct Search {
  DWORD pid;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[128] = {};
  if (pid != s->pid || !IsWindowVisible(hwnd) || !GetClassNameW(hwnd, name, 128) || wcscmp(name, s->class_name))
    return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

ViewerInstall::ViewerInstall(const Options& options) {
  const std::wstring dist = DistDirectory();
  CopyInto(dist + L"Vistroma.exe", exe());
  CopyInto(dist + L"Ferrowan.dll", folder() + L"Ferrowan.dll");
  if (options.statistics) CopyInto(dist + L"brastel.dll", folder() + L"brastel.dll");
  CreateDirectoryW((folder() + L"resources").c_str(), nullptr);
  if (options.package) CopyInto(dist + L"resources\\res.zip", folder() + L"resources\\res.zip");
  // The view's own pictures and the language packs, as the installer lays them out.
  CopyMatching(dist + L"resources\\", L"*.png", folder() + L"resources\\");
  CreateDirectoryW((folder() + L"locales").c_str(), nullptr);
  CopyMatching(dist + L"locales\\", L"*.ini", folder() + L"locales\\");
  if (options.tray_peer) CopyInto(TestBinDirectory() + L"VistromaTray.exe", folder() + L"VistromaTray.exe");
}

ViewerProcess::~ViewerProcess() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool ViewerProcess::Start(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!arguments.empty()) line += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  return true;
}

HWND ViewerProcess::FindWindowOf(const wchar_t* class_name) const {
  Search s{pid_, class_name, nullptr};
  EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND ViewerProcess::WaitForWindow(const wchar_t* class_name, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = FindWindowOf(class_name)) != nullptr || !Running(); }, timeout);
  return found;
}

std::optional<DWORD> ViewerProcess::WaitExit(std::chrono::milliseconds timeout) {
  if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

bool ViewerProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::wstring ViewerDataFolder() {
  wchar_t appdata[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata);
  return std::wstring(appdata) + L"\\Vistroma\\";
}

}  // namespace test_support
