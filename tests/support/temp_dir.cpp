#include "tests/support/temp_dir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "basic_lib/scoped_handle.h"

#include <string>

namespace test_support {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  basic_lib::ScopedFindHandle find(FindFirstFileW((dir + L"*").c_str(), &fd));
  if (find) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + L"\\");
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find.get(), &fd));
  }
  RemoveDirectoryW(dir.c_str());
}

TempDir::TempDir(const std::wstring& tag) {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static LONG counter = 0;
  path_ = std::wstring(base) + tag + L"-图片-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(InterlockedIncrement(&counter)) + L"\\";
  RemoveTree(path_);
  if (!CreateDirectoryW(path_.c_str(), nullptr)) ADD_FAILURE() << "cannot create the temp folder";
}

TempDir::~TempDir() { RemoveTree(path_); }

}  // namespace test_support
