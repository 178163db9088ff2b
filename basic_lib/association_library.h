#pragma once
// Calls into the association component Ferrowan.dll: loaded by full path for one call and unloaded
// right after, so an update can replace it while the viewer runs.
#include <optional>
#include <string>

namespace basic_lib {

inline constexpr wchar_t kAssociationLibrary[] = L"Ferrowan.dll";

// Calls export(argument) of the library at dll_path; false when the library or the export is missing.
bool CallAssociationExport(const std::wstring& dll_path, const char* export_name, int argument);
// The 32-bit answer of an export without arguments; nothing when the library or the export is missing.
std::optional<int> CallAssociationQuery(const std::wstring& dll_path, const char* export_name);

}  // namespace basic_lib
