#pragma once
// The per-user folders and their housekeeping: creating them, removing the print copy and old crash dumps.
#include <string>
#include <vector>

namespace app {

// Creates the data folder, temp\ and temp\crash\, each only when missing.
void CreateDataFolders();
// Deletes temp\tempprint.jpg, then prunes the crash dumps.
void CleanTempFiles();
// Keeps the last `limit` dumps of temp\crash\*.dmp in logical name order (StrCmpLogicalW).
void PruneCrashDumps(size_t limit = 10);
void PruneCrashDumpsIn(const std::wstring& folder, size_t limit = 10);
// The paths to delete: those before the last `limit` in logical order.
[[nodiscard]] std::vector<std::wstring> DumpsToDelete(std::vector<std::wstring> paths, size_t limit);

}  // namespace app
