#pragma once
// One scan of a folder: the picture files in logical name order (or in the order an Explorer window on
// the folder shows them), the subfolder names, and where the current picture lies among them. Runs on
// the scan thread; it reads nothing but its arguments and the cancel flag.
#include <atomic>
#include <set>
#include <string>
#include <vector>

namespace folder {

struct CFolderScanResult {
  std::set<std::wstring> subfolder_names;  // ordinal order
  std::vector<std::wstring> names;         // pictures in their final order
  int found_index = -1;
};

// Sorts names as the shell's logical comparison orders them (digits as numbers, case ignored).
void SortLogically(std::vector<std::wstring>& names);
// The folder's pictures; explorer_order, when not empty, is the view order of an Explorer window on it.
void ScanFolder(const std::wstring& folder, const std::wstring& current_name, const std::atomic<int>& cancel,
                CFolderScanResult& out);
// Merges an Explorer view order into a scan: its pictures that are not subfolders, when the current name
// is among them; otherwise the sorted names stay.
void MergeExplorerOrder(const std::vector<std::wstring>& explorer, const std::wstring& current_name,
                        CFolderScanResult& result);
// The view order of the first open Explorer window on the folder; empty when there is none or the shell
// has no window collection (as under Wine).
[[nodiscard]] std::vector<std::wstring> ExplorerOrder(const std::wstring& folder, const std::atomic<int>& cancel);

}  // namespace folder
