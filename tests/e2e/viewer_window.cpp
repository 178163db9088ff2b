#include "tests/e2e/viewer_window.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/message_pump.h"

namespace test_support {
namespace {

constexpr wchar_t kMainClass[] = L"VistromaMainFrameClass-b1f78b3cc4bd764c";
constexpr int kViewId = 101;

void Settle() {
  // The viewer handles what was posted before the next step looks.
  PumpUntil([] { return false; }, std::chrono::milliseconds(150));
}

}  // namespace

bool ViewerWindow::Attach(ViewerProcess& process, std::chrono::milliseconds timeout) {
  main_ = process.WaitForWindow(kMainClass, timeout);
  if (!main_) return false;
  PumpUntil([&] { return (view_ = GetDlgItem(main_, kViewId)) != nullptr; }, timeout);
  return view_ != nullptr;
}

std::wstring ViewerWindow::Title() const {
  wchar_t text[512] = {};
  // Another process's window: the text comes by message, with a time limit.
  DWORD_PTR got = 0;
  SendMessageTimeoutW(main_, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
  return text;
}

bool ViewerWindow::WaitForTitle(const std::function<bool(const std::wstring&)>& test,
                                std::chrono::milliseconds timeout) const {
  return PumpUntil([&] { return test(Title()); }, timeout);
}

SIZE ViewerWindow::ViewSize() const {
  RECT r{};
  GetClientRect(view_, &r);
  return {r.right, r.bottom};
}

Pixels ViewerWindow::Capture() const {
  RECT r{};
  GetClientRect(view_, &r);
  MapWindowPoints(view_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CaptureScreen(r);
}

void ViewerWindow::Key(WORD vk) const {
  PostMessageW(view_, WM_KEYDOWN, vk, 1);
  PostMessageW(view_, WM_KEYUP, vk, 0xC0000001);
  Settle();
}

void ViewerWindow::Click(POINT at) const {
  const LPARAM lp = MAKELPARAM(at.x, at.y);
  PostMessageW(view_, WM_MOUSEMOVE, 0, lp);
  PostMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, lp);
  PostMessageW(view_, WM_LBUTTONUP, 0, lp);
  Settle();
}

void ViewerWindow::DoubleClick(POINT at) const {
  const LPARAM lp = MAKELPARAM(at.x, at.y);
  PostMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, lp);
  PostMessageW(view_, WM_LBUTTONUP, 0, lp);
  PostMessageW(view_, WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
  PostMessageW(view_, WM_LBUTTONUP, 0, lp);
  Settle();
}

void ViewerWindow::Drag(POINT from, POINT to) const {
  PostMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  for (int step = 1; step <= 4; ++step) {
    const int x = from.x + (to.x - from.x) * step / 4, y = from.y + (to.y - from.y) * step / 4;
    PostMessageW(view_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
  }
  PostMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  Settle();
}

void ViewerWindow::Wheel(POINT at, int delta, WORD keys) const {
  ClientToScreen(view_, &at);
  PostMessageW(view_, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
               MAKELPARAM(at.x, at.y));
  Settle();
}

void ViewerWindow::HoldAlt(bool down) const {
  SetForegroundWindow(main_);
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_MENU;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
  Settle();
}

int TitleZoomPercent(const std::wstring& title) {
  if (title.empty() || title.back() != L'%') return -1;
  const size_t space = title.find_last_of(L' ');
  if (space == std::wstring::npos) return -1;
  return _wtoi(title.substr(space + 1).c_str());
}

bool IsNear(std::uint32_t px, std::uint32_t rgb, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((px >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

int CountNear(const Pixels& p, const RECT& area, std::uint32_t rgb, int tolerance) {
  int n = 0;
  for (int y = std::max<int>(0, area.top); y < std::min<int>(p.height, area.bottom); ++y)
    for (int x = std::max<int>(0, area.left); x < std::min<int>(p.width, area.right); ++x)
      if (IsNear(p.at(x, y), rgb, tolerance)) ++n;
  return n;
}

RECT BoundingBox(const Pixels& p, const std::function<bool(std::uint32_t)>& test) {
  RECT box{p.width, p.height, 0, 0};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (test(p.at(x, y))) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  if (box.right <= box.left) return {};
  return box;
}

}  // namespace test_support
