#include "basic_lib/text_convert.h"

#include <windows.h>

namespace basic_lib {
namespace {

std::wstring ToWide(std::string_view text, UINT code_page) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(text, CP_UTF8); }

std::wstring CodePageToWide(std::string_view text, unsigned code_page) { return ToWide(text, code_page); }

}  // namespace basic_lib

namespace basic_lib {

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace basic_lib
