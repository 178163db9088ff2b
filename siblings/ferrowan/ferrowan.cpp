// Ferrowan.dll as this installation ships it: registers the viewer beside it as a program that opens
// pictures for the current user, and removes that registration again. Windows keeps the final choice of
// the default program with the user (the protected "UserChoice" keys are not written here).
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kProgId[] = L"Vistroma.Image";
constexpr wchar_t kCapabilities[] = L"Software\\Vistroma\\Capabilities";
constexpr const wchar_t* kExtensions[] = {L".jpg", L".jpeg", L".jpe", L".jfif", L".png", L".bmp", L".gif",
                                          L".tif", L".tiff", L".webp", L".ico", L".heic"};

std::wstring ViewerPath() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ViewerPath), &self);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"Vistroma.exe";
}

void SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
}

}  // namespace

extern "C" {

__declspec(dllexport) void __cdecl SetDefaultImageViewer(int) {
  const std::wstring viewer = ViewerPath();
  const std::wstring prog = std::wstring(L"Software\\Classes\\") + kProgId;
  SetString(HKEY_CURRENT_USER, prog, nullptr, L"Vistroma");
  SetString(HKEY_CURRENT_USER, prog + L"\\DefaultIcon", nullptr, L"\"" + viewer + L"\",0");
  SetString(HKEY_CURRENT_USER, prog + L"\\shell\\open\\command", nullptr, L"\"" + viewer + L"\" \"%1\"");
  SetString(HKEY_CURRENT_USER, kCapabilities, L"ApplicationName", L"Vistroma");
  for (const wchar_t* ext : kExtensions) {
    SetString(HKEY_CURRENT_USER, std::wstring(L"Software\\Classes\\") + ext + L"\\OpenWithProgids", kProgId, L"");
    SetString(HKEY_CURRENT_USER, std::wstring(kCapabilities) + L"\\FileAssociations", ext, kProgId);
  }
  SetString(HKEY_CURRENT_USER, L"Software\\RegisteredApplications", L"Vistroma", kCapabilities);
}

// 1 when the viewer beside this library is the registered opener of its program identifier.
__declspec(dllexport) int __cdecl IsAssociationOK() {
  wchar_t command[MAX_PATH * 2] = {};
  DWORD size = sizeof(command);
  const std::wstring key = std::wstring(L"Software\\Classes\\") + kProgId + L"\\shell\\open\\command";
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, command, &size) != ERROR_SUCCESS)
    return 0;
  return std::wstring(command).find(ViewerPath()) != std::wstring::npos ? 1 : 0;
}

__declspec(dllexport) void __cdecl UnInstall(int root_value) {
  // The argument names the registry root, as a predefined key value (0x80000001 is the current user).
  HKEY root = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root_value));  // predefined keys are sign-extended
  if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE) return;
  RegDeleteTreeW(root, (std::wstring(L"Software\\Classes\\") + kProgId).c_str());
  for (const wchar_t* ext : kExtensions) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, (std::wstring(L"Software\\Classes\\") + ext + L"\\OpenWithProgids").c_str(), 0,
                      KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, kProgId);
      RegCloseKey(key);
    }
  }
  RegDeleteTreeW(root, kCapabilities);
  HKEY apps = nullptr;
  if (RegOpenKeyExW(root, L"Software\\RegisteredApplications", 0, KEY_SET_VALUE, &apps) == ERROR_SUCCESS) {
    RegDeleteValueW(apps, L"Vistroma");
    RegCloseKey(apps);
  }
}

}  // extern "C"
