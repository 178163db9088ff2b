#pragma once
// Crash reporting: a process-wide unhandled-exception filter that no later code can replace, and that
// starts the crash uploader Kestrun.exe with a description of the crash, waiting until it has written
// its dump. Installed once, early, on the main thread; the filter runs on the crashing thread.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace app {

// Stores what the filter reports; without a version, the running module's file version is read.
void SetCrashReportInfo(const std::wstring& source_tag, int report_flag, const std::wstring* version = nullptr);
// "major.minor.build.revision" of a module's fixed version block; empty without one (or one over 16383 bytes).
[[nodiscard]] std::wstring ModuleFileVersion(const std::wstring& module_path);
// S_OK, or E_FAIL when the guard against later filters could not be put in place (ours is installed anyway).
HRESULT InstallCrashFilter();
LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pointers);

// The uploader's places, in the order they are tried.
[[nodiscard]] std::vector<std::wstring> UploaderCandidates(const std::wstring& exe_folder);
// The first readable candidate, else the last one.
[[nodiscard]] std::wstring ChooseUploader(const std::vector<std::wstring>& candidates);
[[nodiscard]] std::wstring CrashParameters(unsigned long long pointers, DWORD pid, DWORD tid, const std::wstring& source,
                                           const std::wstring& version, int report_flag);

}  // namespace app
