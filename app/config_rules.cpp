#include "app/config_rules.h"

#include <algorithm>
#include <cwctype>
#include <limits>
#include <vector>

namespace app {
namespace {

// StrToIntW: optional leading sign, decimal digits, stops at the first other character; no white space.
int StrToIntLike(std::wstring_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  std::int64_t v = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    v = v * 10 + (text[i] - L'0');
    if (v > std::numeric_limits<std::uint32_t>::max()) v = std::numeric_limits<std::uint32_t>::max();
  }
  return Low32(negative ? -v : v);
}

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t at) {
  std::vector<std::wstring_view> parts;
  size_t from = 0;
  for (;;) {
    const size_t to = text.find(at, from);
    parts.push_back(text.substr(from, to == std::wstring_view::npos ? std::wstring_view::npos : to - from));
    if (to == std::wstring_view::npos) return parts;
    from = to + 1;
  }
}

}  // namespace

std::int64_t ParseProfileInt64(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  std::uint64_t v = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - L'0');
    if (v > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) overflow = true;
    else v = v * 10 + digit;
  }
  constexpr std::uint64_t kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (negative) return overflow || v > kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                                                : static_cast<std::int64_t>(0 - v);
  return overflow || v > kMax ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(v);
}

int Clamp32(std::int64_t v, int low, int high) { return std::clamp(Low32(v), low, high); }

std::optional<std::uint32_t> ParseCanvasColour(std::wstring_view text) {
  const auto parts = Split(text, L',');
  if (parts.size() != 3) return std::nullopt;
  std::uint32_t rgb[3];
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<std::uint32_t>(ParseProfileInt64(parts[i])) & 0xFF;
  return rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
}

std::wstring FormatCanvasColour(std::uint32_t c) {
  return std::to_wstring(c & 0xFF) + L"," + std::to_wstring((c >> 8) & 0xFF) + L"," + std::to_wstring((c >> 16) & 0xFF);
}

int NormaliseWheelAction(std::int64_t value, int show_wheel_favorite) {
  if (show_wheel_favorite == 1) return kWheelActionAsk;
  if (value == kWheelActionAsk) return kWheelActionAsk;
  return ToFlag(value);
}

PlacementRect DefaultStartRect(const PlacementRect& work) {
  const int dx = work.width() / 6, dy = work.height() / 10;
  return {work.left + dx, work.top + dy, work.right - dx, work.bottom - dy};
}

std::wstring FormatPlacement(const PlacementRect& r) {
  return std::to_wstring(r.left) + L"_" + std::to_wstring(r.top) + L"_" + std::to_wstring(r.right) + L"_" +
         std::to_wstring(r.bottom);
}

std::optional<PlacementRect> ParsePlacement(std::wstring_view text) {
  const auto parts = Split(text, L'_');
  if (parts.size() != 4) return std::nullopt;
  return PlacementRect{StrToIntLike(parts[0]), StrToIntLike(parts[1]), StrToIntLike(parts[2]), StrToIntLike(parts[3])};
}

PlacementRect FitIntoWorkArea(PlacementRect r, const PlacementRect& work) {
  // 64-bit arithmetic: the rectangle comes from a file anyone can edit.
  const auto fit = [](int& lo, int& hi, int area_lo, int area_hi) {
    std::int64_t a = lo, b = hi;
    const std::int64_t limit = static_cast<std::int64_t>(area_hi) - area_lo;
    if (b - a > limit) b = a + limit;
    if (b > area_hi) {
      const std::int64_t over = b - area_hi;
      a -= over, b -= over;
    } else if (a < 0) {
      b -= a, a = 0;
    }
    lo = static_cast<int>(std::clamp<std::int64_t>(a, INT32_MIN, INT32_MAX));
    hi = static_cast<int>(std::clamp<std::int64_t>(b, INT32_MIN, INT32_MAX));
  };
  fit(r.left, r.right, work.left, work.right);
  fit(r.top, r.bottom, work.top, work.bottom);
  return r;
}

StartPlacement DecideStartPlacement(std::wstring_view last_position, const PlacementRect& work) {
  const std::optional<PlacementRect> parsed = ParsePlacement(last_position);
  if (!parsed) return {};
  const PlacementRect r = FitIntoWorkArea(*parsed, work);
  if (r.width() < 700 || r.height() < 500) return {};
  return {false, r};
}

}  // namespace app
