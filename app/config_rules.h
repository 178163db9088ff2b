#pragma once
// The arithmetic behind the settings file: how a profile value becomes a number, how each setting is
// normalised, and where the main window opens. No file or window access here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// _wtoi64 rules: leading white space, an optional sign, then digits; no digits gives 0. Overflow saturates.
[[nodiscard]] std::int64_t ParseProfileInt64(std::wstring_view text);
// Flags test the whole 64-bit value; clamps use its low 32 bits as a signed number.
[[nodiscard]] constexpr int ToFlag(std::int64_t v) { return v != 0 ? 1 : 0; }
[[nodiscard]] constexpr int Low32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint64_t>(v)); }
[[nodiscard]] int Clamp32(std::int64_t v, int low, int high);

// "r,g,b" in decimal, each masked to 8 bits; any other number of fields gives nothing.
[[nodiscard]] std::optional<std::uint32_t> ParseCanvasColour(std::wstring_view text);  // as a COLORREF
[[nodiscard]] std::wstring FormatCanvasColour(std::uint32_t colorref);

inline constexpr int kWheelActionAsk = 99;
// 99 stays 99, any other non-zero value is 1 (zoom), 0 is 0 (turn pages); asking overrides it.
[[nodiscard]] int NormaliseWheelAction(std::int64_t value, int show_wheel_favorite);

struct PlacementRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  [[nodiscard]] int width() const { return right - left; }
  [[nodiscard]] int height() const { return bottom - top; }
  friend bool operator==(const PlacementRect&, const PlacementRect&) = default;
};

// The work area less a sixth of its width and a tenth of its height on each side.
[[nodiscard]] PlacementRect DefaultStartRect(const PlacementRect& work);
[[nodiscard]] std::wstring FormatPlacement(const PlacementRect& r);
// "l_t_r_b" with exactly four parts (StrToIntW rules for each); anything else, "MAX" included, is nothing.
[[nodiscard]] std::optional<PlacementRect> ParsePlacement(std::wstring_view text);
// Limits the size to the work area's (top-left kept), then shifts the rectangle back inside it.
[[nodiscard]] PlacementRect FitIntoWorkArea(PlacementRect r, const PlacementRect& work);

struct StartPlacement {
  bool maximise = true;
  PlacementRect rect;  // when not maximised
};
// What the main window does with "last_position" at start.
[[nodiscard]] StartPlacement DecideStartPlacement(std::wstring_view last_position, const PlacementRect& work);

}  // namespace app
