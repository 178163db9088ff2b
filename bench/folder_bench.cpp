// Times one folder scan as the folder list runs it (enumerate, classify, logical sort, the Explorer
// lookup), median of several runs after a warm-up.
//   folder_bench.exe folder
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "folder/folder_scan.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  CoInitialize(nullptr);
  std::atomic<int> cancel{0};
  folder::CFolderScanResult result;
  folder::ScanFolder(argv[1], L"img5000.jpg", cancel, result);
  std::vector<double> times;
  for (int i = 0; i < 9; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    folder::ScanFolder(argv[1], L"img5000.jpg", cancel, result);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  printf("scan %.1f\nfound %zu at %d\n", times[times.size() / 2], result.names.size(), result.found_index);
  CoUninitialize();
  return 0;
}
