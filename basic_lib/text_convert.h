#pragma once
// Conversions at the edges: UTF-8 and code-page texts into the UTF-16 used inside, and back to UTF-8.
#include <string>
#include <string_view>

namespace basic_lib {

std::wstring Utf8ToWide(std::string_view text);
std::wstring CodePageToWide(std::string_view text, unsigned code_page);
std::string WideToUtf8(std::wstring_view text);

}  // namespace basic_lib
