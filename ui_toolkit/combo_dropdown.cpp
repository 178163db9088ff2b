#include "ui_toolkit/combo_dropdown.h"

#include <windowsx.h>

#include <algorithm>

#include "basic_lib/gdiplus.h"
#include "basic_lib/scoped_handle.h"
#include "basic_lib/window_class.h"
#include "basic_lib/window_binding.h"
#include "ui_toolkit/painter.h"

namespace ui_toolkit {
namespace {

constexpr wchar_t kDropDownClass[] = L"VistromaComboDropDown";
constexpr int kBorder = 1;
constexpr int kMaxVisibleRows = 8;
constexpr Argb kDropBack = 0xFFFFFFFF, kDropBorder = 0xFFD6D9DE, kHotBack = 0xFFF2F4F7, kSelectedBack = 0xFFFFF1E6;

Argb ColourAttribute(const CControlUI& c, std::wstring_view name, Argb fallback) {
  return ParseColour(c.Attribute(name)).value_or(fallback);
}

}  // namespace

CComboDropDown::~CComboDropDown() {
  if (hwnd_) {
    HWND gone = hwnd_;
    hwnd_ = nullptr;
    SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
    DestroyWindow(gone);
  }
}

int CComboDropDown::RowCount() const { return combo_ ? static_cast<int>(combo_->children().size()) : 0; }

bool CComboDropDown::Open(HWND host, CControlUI& combo, ChooseFn choose) {
  Close();
  HINSTANCE instance = CToolkit::Get().instance();
  if (!basic_lib::RegisterWindowClassOnce(instance, kDropDownClass, StaticWindowProc, CS_DROPSHADOW,
                                          LoadCursorW(nullptr, IDC_ARROW)))
    return false;
  combo_ = &combo;
  choose_ = std::move(choose);
  row_height_ = combo.item_height > 0 ? combo.item_height : 32;
  const int rows = RowCount();
  const int limit = ParseInt(combo.Attribute(L"droprows")).value_or(kMaxVisibleRows);
  visible_rows_ = std::clamp(rows, 1, std::max(1, limit));
  hot_ = combo.selected_index;
  first_row_ = 0;
  ScrollToShow(hot_);

  POINT below{combo.rect.left, combo.rect.bottom};
  ClientToScreen(host, &below);
  const int width = std::max(combo.rect.width(), 40);
  const int height = visible_rows_ * row_height_ + 2 * kBorder;
  // Kept on the monitor: above the combo when there is no room below it.
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &info) &&
      below.y + height > info.rcWork.bottom) {
    POINT above{combo.rect.left, combo.rect.top};
    ClientToScreen(host, &above);
    below.y = std::max<LONG>(info.rcWork.top, above.y - height);
  }
  CreateWindowExW(WS_EX_TOOLWINDOW, kDropDownClass, L"", WS_POPUP, below.x, below.y, width, height, host, nullptr,
                  instance, this);
  if (!hwnd_) return false;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(hwnd_);
  return true;
}

void CComboDropDown::Close() {
  if (!hwnd_) return;
  HWND gone = hwnd_;
  hwnd_ = nullptr;
  closed_combo_ = nullptr;
  SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
  DestroyWindow(gone);
}

LRESULT CALLBACK CComboDropDown::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = basic_lib::BoundWindowObject(hwnd, msg, lp, &CComboDropDown::hwnd_);
  return self ? self->WindowProc(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

int CComboDropDown::RowAt(int y) const {
  if (y < kBorder) return -1;
  const int row = first_row_ + (y - kBorder) / row_height_;
  return row < RowCount() && row < first_row_ + visible_rows_ ? row : -1;
}

void CComboDropDown::SetHot(int row) {
  if (row == hot_) return;
  hot_ = row;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CComboDropDown::ScrollToShow(int row) {
  if (row < 0) return;
  if (row < first_row_) first_row_ = row;
  if (row >= first_row_ + visible_rows_) first_row_ = row - visible_rows_ + 1;
  first_row_ = std::clamp(first_row_, 0, std::max(0, RowCount() - visible_rows_));
}

void CComboDropDown::Choose(int row) {
  ChooseFn choose = choose_;
  Close();
  if (choose && row >= 0) choose(row);
}

LRESULT CComboDropDown::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_MOUSEMOVE:
      SetHot(RowAt(GET_Y_LPARAM(lp)));
      return 0;
    case WM_LBUTTONUP:
      if (const int row = RowAt(GET_Y_LPARAM(lp)); row >= 0) Choose(row);
      return 0;
    case WM_MOUSEWHEEL: {
      const int before = first_row_;
      first_row_ = std::clamp(first_row_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA, 0,
                              std::max(0, RowCount() - visible_rows_));
      if (before != first_row_) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
    case WM_KEYDOWN:
      switch (wp) {
        case VK_ESCAPE:
          Close();
          return 0;
        case VK_RETURN:
          Choose(hot_);
          return 0;
        case VK_UP:
        case VK_DOWN: {
          const int count = RowCount();
          if (count == 0) return 0;
          const int next = std::clamp(hot_ + (wp == VK_UP ? -1 : 1), 0, count - 1);
          ScrollToShow(next);
          hot_ = -2;  // force the repaint even when the row is the same
          SetHot(next);
          return 0;
        }
      }
      break;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      // Anything else taking the focus dismisses the list, as a system drop-down does.
      PostMessageW(hwnd_, WM_APP, 0, 0);
      return 0;
    case WM_APP:
      if (GetFocus() != hwnd_) {
        const CControlUI* combo = combo_;
        Close();
        closed_at_ = GetTickCount();
        closed_combo_ = combo;
      }
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void CComboDropDown::Paint(HDC target) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0 || !combo_) return;
  if (!canvas_ || canvas_->width() != client.right || canvas_->height() != client.bottom)
    canvas_ = CPicture::Create(client.right, client.bottom);
  if (!canvas_) return;
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(target));
  basic_lib::ScopedSelectObject select(mem.get(), canvas_->bitmap());
  {
    Gdiplus::Graphics g(mem.get());
    Gdiplus::SolidBrush back(Gdiplus::Color(ColourAttribute(*combo_, L"dropbkcolor", kDropBack)));
    g.FillRectangle(&back, 0, 0, client.right, client.bottom);
    Gdiplus::Pen border(Gdiplus::Color(ColourAttribute(*combo_, L"dropbordercolor", kDropBorder)), 1.0f);
    g.DrawRectangle(&border, 0, 0, client.right - 1, client.bottom - 1);
  }
  const PaintContext ctx{mem.get(), &layout_, source_, {0, 0}, client, false};
  const auto& items = combo_->children();
  for (int row = first_row_; row < std::min(RowCount(), first_row_ + visible_rows_); ++row) {
    CControlUI& item = *items[static_cast<size_t>(row)];
    const Rect r{kBorder, kBorder + (row - first_row_) * row_height_, client.right - kBorder,
                 kBorder + (row - first_row_ + 1) * row_height_};
    const bool chosen = row == combo_->selected_index;
    const Argb fill = row == hot_ ? (item.hot_back_colour ? item.hot_back_colour : kHotBack)
                      : chosen    ? (item.selected_back_colour ? item.selected_back_colour : kSelectedBack)
                                  : 0;
    if (fill) {
      Gdiplus::Graphics g(mem.get());
      Gdiplus::SolidBrush brush{Gdiplus::Color(fill)};
      g.FillRectangle(&brush, r.left, r.top, r.width(), r.height());
    }
    // The element keeps no place in the host window; it borrows the row's for the drawing.
    const Rect kept = item.rect;
    const Rect kept_padding = item.text_padding;
    item.rect = r;
    if (item.text_padding == Rect{}) item.text_padding = {10, 0, 10, 0};
    PaintControl(ctx, item);
    item.rect = kept;
    item.text_padding = kept_padding;
  }
  BitBlt(target, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
}

}  // namespace ui_toolkit
