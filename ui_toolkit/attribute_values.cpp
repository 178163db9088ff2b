#include "ui_toolkit/attribute_values.h"

#include <cwctype>
#include <vector>

#include "basic_lib/text_case.h"

namespace ui_toolkit {
namespace {

using basic_lib::EqualsNoCase;

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
  while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<std::vector<int>> ParseIntList(std::wstring_view text, size_t count) {
  std::vector<int> values;
  while (true) {
    const size_t comma = text.find(L',');
    const auto v = ParseInt(text.substr(0, comma));
    if (!v) return std::nullopt;
    values.push_back(*v);
    if (comma == std::wstring_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

}  // namespace

std::optional<int> ParseInt(std::wstring_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return negative ? -value : value;
}

std::optional<Rect> ParseRect(std::wstring_view text) {
  const auto v = ParseIntList(text, 4);
  if (!v) return std::nullopt;
  return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Size> ParseSize(std::wstring_view text) {
  const auto v = ParseIntList(text, 2);
  if (!v) return std::nullopt;
  return Size{(*v)[0], (*v)[1]};
}

std::optional<Argb> ParseColour(std::wstring_view text) {
  text = Trim(text);
  bool rgb_only = false;
  if (text.starts_with(L"#")) {
    text.remove_prefix(1);
    rgb_only = text.size() == 6;
  } else if (text.starts_with(L"0x") || text.starts_with(L"0X")) {
    text.remove_prefix(2);
  } else {
    return std::nullopt;
  }
  if (text.empty() || text.size() > 8) return std::nullopt;
  Argb value = 0;
  for (wchar_t c : text) {
    int digit;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    else return std::nullopt;
    value = value << 4 | static_cast<Argb>(digit);
  }
  return rgb_only ? value | 0xFF000000u : value;
}

std::optional<bool> ParseBool(std::wstring_view text) {
  text = Trim(text);
  if (EqualsNoCase(text, L"true") || text == L"1") return true;
  if (EqualsNoCase(text, L"false") || text == L"0") return false;
  return std::nullopt;
}

std::optional<ImageSpec> ParseImageSpec(std::wstring_view text) {
  text = Trim(text);
  ImageSpec image;
  if (text.find(L'\'') == std::wstring_view::npos && text.find(L'=') == std::wstring_view::npos) {
    image.file = std::wstring(text);
    return image;
  }
  while (!(text = Trim(text)).empty()) {
    const size_t eq = text.find(L'=');
    if (eq == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view key = Trim(text.substr(0, eq));
    text.remove_prefix(eq + 1);
    text = Trim(text);
    if (text.empty() || text.front() != L'\'') return std::nullopt;
    const size_t close = text.find(L'\'', 1);
    if (close == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view value = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    if (EqualsNoCase(key, L"file")) {
      image.file = std::wstring(value);
    } else if (EqualsNoCase(key, L"source") || EqualsNoCase(key, L"dest") || EqualsNoCase(key, L"corner")) {
      const auto r = ParseRect(value);
      if (!r) return std::nullopt;
      (EqualsNoCase(key, L"source") ? image.source : EqualsNoCase(key, L"dest") ? image.dest : image.corner) = *r;
    }
  }
  return image;
}

}  // namespace ui_toolkit
