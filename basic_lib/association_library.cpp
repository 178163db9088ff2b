#include "basic_lib/association_library.h"

#include <windows.h>

namespace basic_lib {

bool CallAssociationExport(const std::wstring& dll_path, const char* export_name, int argument) {
  HMODULE module = LoadLibraryW(dll_path.c_str());
  if (!module) return false;
  using Fn = void(__cdecl*)(int);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, export_name)));
  if (fn) fn(argument);
  FreeLibrary(module);
  return fn != nullptr;
}

std::optional<int> CallAssociationQuery(const std::wstring& dll_path, const char* export_name) {
  HMODULE module = LoadLibraryW(dll_path.c_str());
  if (!module) return std::nullopt;
  using Fn = int(__cdecl*)();
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, export_name)));
  std::optional<int> answer;
  if (fn) answer = fn();
  FreeLibrary(module);
  return answer;
}

}  // namespace basic_lib
