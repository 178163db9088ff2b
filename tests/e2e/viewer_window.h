// Drives the main window of a running Vistroma.exe from the outside, as a user at the screen would:
// reads its title, captures what its image view shows on the display, presses keys, clicks, drags and
// turns the wheel over the view.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "tests/support/screenshot.h"
#include "tests/support/viewer_process.h"

namespace test_support {

class ViewerWindow {
 public:
  // Waits for the process's main window and its image view.
  bool Attach(ViewerProcess& process, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  [[nodiscard]] HWND main() const { return main_; }
  [[nodiscard]] HWND view() const { return view_; }
  [[nodiscard]] std::wstring Title() const;
  // True once the title satisfies the test.
  bool WaitForTitle(const std::function<bool(const std::wstring&)>& test,
                    std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
  // The view's client area as the display shows it.
  [[nodiscard]] Pixels Capture() const;
  [[nodiscard]] SIZE ViewSize() const;

  // A key pressed and released where the viewer's keys arrive.
  void Key(WORD vk) const;
  // Mouse actions at points of the view's client area.
  void Click(POINT at) const;
  void DoubleClick(POINT at) const;
  void Drag(POINT from, POINT to) const;
  void Wheel(POINT at, int delta, WORD keys = 0) const;
  // The Alt key held down (true) or released on the keyboard, with the viewer in front.
  void HoldAlt(bool down) const;

 private:
  HWND main_ = nullptr;
  HWND view_ = nullptr;
};

// The percentage at the end of a title ("... - [2/3] 38%"); -1 without one.
[[nodiscard]] int TitleZoomPercent(const std::wstring& title);
// Whether each channel of a pixel lies within tolerance of a colour (0xRRGGBB).
[[nodiscard]] bool IsNear(std::uint32_t px, std::uint32_t rgb, int tolerance);
// Pixels within tolerance of a colour in a rectangle, counted.
[[nodiscard]] int CountNear(const Pixels& p, const RECT& area, std::uint32_t rgb, int tolerance);
// The bounding box of pixels for which the test holds; empty when none.
[[nodiscard]] RECT BoundingBox(const Pixels& p, const std::function<bool(std::uint32_t)>& test);

}  // namespace test_support
