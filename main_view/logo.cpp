#include "main_view/logo.h"

#include "basic_lib/scoped_handle.h"
#include "main_view/main_messages.h"
#include "main_view/skin_picture.h"

namespace main_view {
namespace {

std::unique_ptr<widget_window::CWidgetItemImage> LogoItem(int id, const wchar_t* file) {
  auto item = std::make_unique<widget_window::CWidgetItemImage>();
  item->id = id;
  LoadSkinPicture(file, true, item->picture);
  item->rect = {0, 0, item->picture.Width(), item->picture.Height()};
  return item;
}

}  // namespace

HWND WndMainLogo::Create(HWND parent, const RECT& rect, UINT id) {
  HWND hwnd = CWidgetWindow::Create(parent, rect, id, 0x52010000);
  if (!hwnd) return nullptr;
  AddItem(LogoItem(0, L"logo-main.png"));
  AddItem(LogoItem(1, L"logo-mini.png"));
  Switch(true);
  return hwnd;
}

void WndMainLogo::Switch(bool large) {
  large_ = large;
  if (auto* big = FindItem(0)) big->state = large ? (big->state | widget_window::kItemVisible) : (big->state & ~widget_window::kItemVisible);
  if (auto* mini = FindItem(1)) mini->state = large ? (mini->state & ~widget_window::kItemVisible) : (mini->state | widget_window::kItemVisible);
  if (large) SetWindowPos(hwnd(), nullptr, 9, 6, 95, 23, SWP_NOZORDER | SWP_NOACTIVATE);
  else SetWindowPos(hwnd(), nullptr, 11, 6, 27, 23, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void WndMainLogo::DrawBackground(HDC dc, const RECT& area) {
  basic_lib::ScopedBrush canvas(CreateSolidBrush(kCanvasColour));
  FillRect(dc, &area, canvas.get());
}

}  // namespace main_view
