#pragma once
// Screenshots written by the tests for people to look at: PNG files in the folder named by the
// environment variable VISTROMA_SCREENSHOTS (a Unix path under Wine, or a Windows path).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

// Top-down 32-bit pixels, 0xAARRGGBB in memory order B, G, R, A.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> data;
  [[nodiscard]] std::uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};

// The full path for a screenshot file; empty when no folder is set.
std::wstring ScreenshotPath(const std::wstring& file_name);
// What a window paints of its client area (WM_PRINTCLIENT into a 32-bit bitmap), alpha forced opaque.
Pixels CaptureClient(HWND hwnd);
// What the screen shows in a rectangle of screen coordinates: another process's windows as they are on
// the display.
Pixels CaptureScreen(const RECT& area);
[[nodiscard]] bool SavePng(const std::wstring& path, const Pixels& pixels);

}  // namespace test_support
