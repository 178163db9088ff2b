#include "app/data_folders.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/app_paths.h"
#include "basic_lib/scoped_handle.h"

namespace app {

void CreateDataFolders() {
  const std::wstring crash = GetTempFolder(L"crash");
  if (PathFileExistsW(crash.c_str())) return;
  for (const std::wstring& folder : {GetDataFolder(), GetTempFolder(), crash})
    if (!PathFileExistsW(folder.c_str())) CreateDirectoryW(folder.c_str(), nullptr);
}

void CleanTempFiles() {
  const std::wstring print_copy = GetTempFolder() + L"tempprint.jpg";
  if (PathFileExistsW(print_copy.c_str())) DeleteFileW(print_copy.c_str());
  PruneCrashDumps();
}

std::vector<std::wstring> DumpsToDelete(std::vector<std::wstring> paths, size_t limit) {
  if (paths.size() <= limit) return {};
  std::sort(paths.begin(), paths.end(),
            [](const std::wstring& a, const std::wstring& b) { return StrCmpLogicalW(a.c_str(), b.c_str()) < 0; });
  paths.resize(paths.size() - limit);
  return paths;
}

void PruneCrashDumpsIn(const std::wstring& folder, size_t limit) {
  std::vector<std::wstring> dumps;
  WIN32_FIND_DATAW found;
  basic_lib::ScopedFindHandle find(FindFirstFileW((folder + L"*.dmp").c_str(), &found));
  if (!find) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) dumps.push_back(folder + found.cFileName);
  } while (FindNextFileW(find.get(), &found));
  for (const std::wstring& path : DumpsToDelete(std::move(dumps), limit)) DeleteFileW(path.c_str());
}

void PruneCrashDumps(size_t limit) { PruneCrashDumpsIn(GetTempFolder(L"crash"), limit); }

}  // namespace app
