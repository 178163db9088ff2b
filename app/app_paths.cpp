#include "app/app_paths.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace app {
namespace {

std::wstring ModuleFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::wstring path(buffer.data(), n);
      return path.substr(0, path.find_last_of(L"\\/") + 1);
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);  // long paths
  }
}

std::wstring AppDataFolder() {
  wchar_t appdata[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appdata))) return {};
  wchar_t canonical[MAX_PATH] = {};
  std::wstring folder = PathCanonicalizeW(canonical, appdata) ? canonical : appdata;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"Vistroma\\";
}

}  // namespace

const std::wstring& GetExeFolder() {
  static const std::wstring folder = ModuleFolder();
  return folder;
}

const std::wstring& GetDataFolder() {
  static const std::wstring folder = AppDataFolder();
  return folder;
}

std::wstring GetTempFolder(const std::wstring& sub) {
  std::wstring folder = GetDataFolder() + L"temp\\";
  if (!sub.empty()) folder += sub + L"\\";
  return folder;
}

}  // namespace app
