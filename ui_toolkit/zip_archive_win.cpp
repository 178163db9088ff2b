#include <windows.h>

#include "basic_lib/scoped_handle.h"
#include "ui_toolkit/zip_archive.h"

namespace ui_toolkit {

bool CZipArchive::OpenFile(const std::wstring& path) {
  basic_lib::ScopedFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    Clear();
    return false;
  }
  std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size())) {
    Clear();
    return false;
  }
  return Open(std::move(bytes));
}

}  // namespace ui_toolkit
