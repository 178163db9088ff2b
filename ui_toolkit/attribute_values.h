#pragma once
// Parsers of the attribute value forms the layouts use: numbers, rectangles "l,t,r,b", sizes "w,h",
// colours "0xAARRGGBB" or "#RRGGBB", booleans, and picture descriptions
// "file='images/icon1.png' source='20,0,40,20' dest='12,8,32,28'" (or a bare file name).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ui_toolkit {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  [[nodiscard]] int width() const { return right - left; }
  [[nodiscard]] int height() const { return bottom - top; }
  [[nodiscard]] bool empty() const { return right <= left || bottom <= top; }
  [[nodiscard]] bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int cx = 0, cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Colours are ARGB: 0xFF888888 is opaque grey.
using Argb = std::uint32_t;

struct ImageSpec {
  std::wstring file;            // path inside the package; empty means no picture
  std::optional<Rect> source;   // cell of the picture; whole picture when absent
  std::optional<Rect> dest;     // where in the control; the whole control when absent
  std::optional<Rect> corner;   // nine-grid corners kept unscaled
  bool operator==(const ImageSpec&) const = default;
};

std::optional<int> ParseInt(std::wstring_view text);
std::optional<Rect> ParseRect(std::wstring_view text);
std::optional<Size> ParseSize(std::wstring_view text);
std::optional<Argb> ParseColour(std::wstring_view text);
// "true"/"false" (any case), "1"/"0".
std::optional<bool> ParseBool(std::wstring_view text);
// A bare name is a file; the quoted form names file, source, dest and corner. Unknown keys are ignored;
// an unterminated quote or a bad rectangle makes the whole description invalid.
std::optional<ImageSpec> ParseImageSpec(std::wstring_view text);

}  // namespace ui_toolkit
