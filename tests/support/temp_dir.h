#pragma once
// A fresh folder under the Windows temp folder for one test, removed with everything in it afterwards.
#include <string>

namespace test_support {

// Deletes a folder (given with its trailing backslash) and everything in it.
void RemoveTree(const std::wstring& dir);

class TempDir {
 public:
  // The folder name carries a non-ASCII part, so every test also exercises wide paths.
  explicit TempDir(const std::wstring& tag = L"vistroma");
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  // The folder with a trailing backslash.
  [[nodiscard]] const std::wstring& path() const { return path_; }
  [[nodiscard]] std::wstring File(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

}  // namespace test_support
