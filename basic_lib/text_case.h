#pragma once
// Case folding for names the system compares without regard to case (layout elements, attributes,
// archive entries), as Windows compares file names.
#include <cwctype>
#include <string>
#include <string_view>

namespace basic_lib {

inline std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
  return out;
}

inline bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace basic_lib
