#include "tests/support/test_paths.h"

#include <windows.h>

#include <vector>

namespace test_support {

std::wstring TestBinDirectory() {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  std::wstring path(buffer.data(), n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring DistDirectory() { return TestBinDirectory() + VISTROMA_DIST_FROM_TESTS + L"\\"; }

}  // namespace test_support
