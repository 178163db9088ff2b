#include "app/crash_report.h"

#include <io.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>

#include "app/app_paths.h"

namespace app {
namespace {

struct CrashInfo {
  wchar_t source[260] = {};
  wchar_t version[260] = {};
  int report_flag = 0;
};
// Plain storage: the filter must not allocate or construct anything when it runs.
CrashInfo g_info;

std::wstring Parent(const std::wstring& folder) {
  // "C:\a\b\" → "C:\a\"
  if (folder.size() < 2) return folder;
  const size_t cut = folder.find_last_of(L'\\', folder.size() - 2);
  return cut == std::wstring::npos ? folder : folder.substr(0, cut + 1);
}

void CopyTruncated(wchar_t (&to)[260], const std::wstring& from) {
  wcsncpy(to, from.c_str(), 259);
  to[259] = L'\0';
}

}  // namespace

std::wstring ModuleFileVersion(const std::wstring& module_path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(module_path.c_str(), &handle);
  if (size == 0 || size > 16383) return {};
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(module_path.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return {};
  wchar_t text[64];
  swprintf(text, 64, L"%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
           HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  return text;
}

void SetCrashReportInfo(const std::wstring& source_tag, int report_flag, const std::wstring* version) {
  CopyTruncated(g_info.source, source_tag);
  g_info.report_flag = report_flag;
  if (version) {
    CopyTruncated(g_info.version, *version);
    return;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CopyTruncated(g_info.version, ModuleFileVersion(self));
}

HRESULT InstallCrashFilter() {
  SetUnhandledExceptionFilter(CrashFilter);
  // Later callers (a runtime, a plug-in) must not take the crash from us: their SetUnhandledExceptionFilter
  // becomes "clear the result and return". These are the x64 bytes, 33 C0 C3 (xor eax,eax; ret).
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto* target = kernel ? reinterpret_cast<BYTE*>(GetProcAddress(kernel, "SetUnhandledExceptionFilter")) : nullptr;
  if (!target) return E_FAIL;
  static constexpr BYTE kPatch[] = {0x33, 0xC0, 0xC3};
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(target, &info, sizeof(info)) || info.State != MEM_COMMIT) return E_FAIL;
  DWORD old = 0;
  if (!VirtualProtect(target, sizeof(kPatch), PAGE_EXECUTE_READWRITE, &old)) return E_FAIL;
  std::memcpy(target, kPatch, sizeof(kPatch));
  VirtualProtect(target, sizeof(kPatch), old, &old);
  FlushInstructionCache(GetCurrentProcess(), target, sizeof(kPatch));
  return S_OK;
}

std::vector<std::wstring> UploaderCandidates(const std::wstring& exe_folder) {
  const std::wstring parent = Parent(exe_folder), grandparent = Parent(parent);
  return {exe_folder + L"Kestrun.exe", exe_folder + L"Utils\\Kestrun.exe", parent + L"Kestrun.exe",
          parent + L"Utils\\Kestrun.exe", grandparent + L"Kestrun.exe"};
}

std::wstring ChooseUploader(const std::vector<std::wstring>& candidates) {
  for (const std::wstring& path : candidates)
    if (_waccess(path.c_str(), 4) == 0) return path;
  return candidates.empty() ? std::wstring() : candidates.back();
}

std::wstring CrashParameters(unsigned long long pointers, DWORD pid, DWORD tid, const std::wstring& source,
                             const std::wstring& version, int report_flag) {
  wchar_t text[800];
  swprintf(text, 800, L"--pep=%llu --pid=%d --tid=%d --src=%ls --ver=%ls --rep=%d", pointers, static_cast<int>(pid),
           static_cast<int>(tid), source.c_str(), version.c_str(), report_flag);
  return text;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers) {
  const std::wstring uploader = ChooseUploader(UploaderCandidates(GetExeFolder()));
  const auto address = static_cast<unsigned long long>(static_cast<long long>(reinterpret_cast<INT_PTR>(pointers)));
  const std::wstring parameters = CrashParameters(address, GetCurrentProcessId(), GetCurrentThreadId(), g_info.source,
                                                  g_info.version, g_info.report_flag);
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof(run);
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.lpFile = uploader.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  if (ShellExecuteExW(&run) && run.hProcess) {
    WaitForSingleObject(run.hProcess, INFINITE);
    CloseHandle(run.hProcess);
  }
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace app
