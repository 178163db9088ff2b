#pragma once
// Conversions at the edges: UTF-8 files and archive names, ANSI code pages. Inside, texts are UTF-16.
#include <string>
#include <string_view>

namespace basic_lib {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring CodePageToWide(std::string_view text, unsigned code_page);

}  // namespace basic_lib
