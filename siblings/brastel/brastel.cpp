// brastel.dll as this installation ships it: a statistics component that sends nothing anywhere. It keeps
// the quick-index switch (per user, in the registry) and, only when the switch file stat.log.on exists in
// the viewer's data folder, appends every event it is given to stat.log there, one UTF-8 line each.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "siblings/brastel/brastel_api.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Vistroma\\Statistics";
std::atomic<bool> g_started{false};

std::wstring DataFolder() {
  wchar_t appdata[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata))) return {};
  return std::wstring(appdata) + L"\\Vistroma\\";
}

std::string ToUtf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

void AppendEvent(const wchar_t* category, const wchar_t* event) {
  const std::wstring folder = DataFolder();
  if (folder.empty() || GetFileAttributesW((folder + L"stat.log.on").c_str()) == INVALID_FILE_ATTRIBUTES) return;
  // Appends are whole lines written at once, so viewers running side by side do not mix their lines.
  HANDLE file = CreateFileW((folder + L"stat.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = ToUtf8(category) + "\t" + ToUtf8(event) + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

class Wrapper final : public IStatLibWrapper {
 public:
  int Initialise(int, const wchar_t*, int) override { return 1; }
  void Release() override { delete this; }
  int Reserved2() override { return 0; }
  int Reserved3() override { return 0; }
  void SetQuickIndex(std::int32_t on) override {
    const DWORD value = on ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"QuickIndex", REG_DWORD, &value, sizeof(value));
  }
  std::int32_t GetQuickIndex() override {
    DWORD value = 1, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"QuickIndex", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
      return 1;  // on until someone turns it off
    return value ? 1 : 0;
  }
};

}  // namespace

extern "C" {

__declspec(dllexport) void __cdecl StartStat() { g_started = true; }

__declspec(dllexport) int __cdecl SendStatUrl(const wchar_t* category, const wchar_t* event) {
  if (!category || !event || !*category || !*event) return 0;
  AppendEvent(category, event);
  return 1;
}

__declspec(dllexport) void __cdecl WaitStatComplete(std::int32_t) {
  // Events are written when they are sent; nothing is left to wait for.
}

__declspec(dllexport) const wchar_t* __cdecl GetOsVersion() {
  static wchar_t text[64] = {};
  if (!text[0]) {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    auto get = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (get && get(&info) == 0)
      swprintf(text, 64, L"Windows %lu.%lu.%lu", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    else
      wcscpy(text, L"Windows");
  }
  return text;
}

__declspec(dllexport) IStatLibWrapper* __cdecl CreatePLibWrapper() { return new Wrapper; }

}  // extern "C"
