#include "widget_window/widget_window.h"

#include <windowsx.h>
#include <commctrl.h>

#include <map>

#include "basic_lib/window_binding.h"
#include "basic_lib/window_class.h"

namespace widget_window {
namespace {

constexpr wchar_t kWidgetClass[] = L"VistromaWidgetWindow";

HFONT MakeDefaultFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW lf = metrics.lfMenuFont;
  HDC screen = GetDC(nullptr);
  lf.lfHeight = -MulDiv(90, GetDeviceCaps(screen, LOGPIXELSY), 720);  // 9 points
  ReleaseDC(nullptr, screen);
  return CreateFontIndirectW(&lf);
}

std::map<UINT_PTR, FCTimerNotify*>* g_timers = nullptr;
int g_timer_objects = 0;

}  // namespace

HFONT DefaultWidgetFont() {
  static HFONT font = MakeDefaultFont();
  return font;
}

void CWidgetItem::AddTool(HWND tooltip, HWND window, UINT tool_id) {
  if (text.empty() || !tooltip) return;
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = window;
  info.uId = tool_id;
  info.rect = rect;
  info.lpszText = text.data();
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void FCTrackMouseHover::TrackMessage(HWND hwnd, UINT msg) {
  if (msg == WM_MOUSEMOVE && !tracking_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
    OnMouseEnter();
    InvalidateRect(hwnd, nullptr, FALSE);
  } else if (msg == WM_MOUSELEAVE && tracking_) {
    tracking_ = false;
    OnMouseLeave();
    InvalidateRect(hwnd, nullptr, FALSE);
  }
}

CWidgetWindow::~CWidgetWindow() {
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

HWND CWidgetWindow::Create(HWND parent, const RECT& r, UINT id, DWORD style) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  basic_lib::RegisterWindowClassOnce(instance, kWidgetClass, StaticWindowProc, CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
  CreateWindowExW(0, kWidgetClass, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, this);
  return hwnd_;
}

LRESULT CALLBACK CWidgetWindow::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = basic_lib::BoundWindowObject(hwnd, msg, lp, &CWidgetWindow::hwnd_);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return self->WindowProc(msg, wp, lp);
}

LRESULT CWidgetWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (hwnd_) TrackMessage(hwnd_, msg);
  switch (msg) {
    case WM_SIZE:
      RecalcLayout();
      break;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      UpdateHover(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
  }
  return hwnd_ ? DefWindowProcW(hwnd_, msg, wp, lp) : 0;
}

void CWidgetWindow::PreTranslateMessage(const MSG& msg) {
  if (tooltip_ && IsWindow(tooltip_))
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CWidgetWindow::AddItem(std::unique_ptr<CWidgetItem> item, int index) {
  if (index == -1) items_.push_back(std::move(item));
  else if (index >= 0 && index <= static_cast<int>(items_.size())) items_.insert(items_.begin() + index, std::move(item));
  // Any other index: the item goes with the unique_ptr.
}

void CWidgetWindow::RemoveItem(int id) {
  std::erase_if(items_, [id](const std::unique_ptr<CWidgetItem>& item) { return item->id == id; });
}

CWidgetItem* CWidgetWindow::FindItem(int id) const {
  for (const auto& item : items_)
    if (item->id == id) return item.get();
  return nullptr;
}

CWidgetItem* CWidgetWindow::HitTest(int x, int y) const {
  const POINT pt{x, y};
  for (const auto& item : items_)
    if (PtInRect(&item->rect, pt) && item->Is(kItemVisible | kItemEnabled)) return item.get();
  return nullptr;
}

void CWidgetWindow::Invalidate(const RECT* r) const {
  if (hwnd_) InvalidateRect(hwnd_, r, FALSE);
}

void CWidgetWindow::UpdateHover(int x, int y) {
  CWidgetItem* now = HitTest(x, y);
  CWidgetItem* before = nullptr;
  for (const auto& item : items_)
    if (item->state & kItemHover) before = item.get();
  if (now == before) return;
  if (before) {
    before->state &= ~kItemHover;
    before->OnMouseLeave();
    Invalidate(&before->rect);
  }
  if (now) {
    now->state |= kItemHover;
    now->OnMouseEnter();
    Invalidate(&now->rect);
  }
}

void CWidgetWindow::CreateToolTip() {
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tooltip_) SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
}

void CWidgetWindow::RecalcLayout() {
  if (!layout_ || !hwnd_) return;
  layout_->Layout(hwnd_, items_);
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  tooltip_ = nullptr;
  UINT tool_id = 100;
  for (const auto& item : items_) {
    if (!(item->state & kItemVisible)) continue;
    if (!tooltip_) CreateToolTip();
    item->AddTool(tooltip_, hwnd_, tool_id++);
  }
  Invalidate(nullptr);
}

void CWidgetWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const RECT area = ps.rcPaint;
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w > 0 && h > 0) {
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    if (bitmap) {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old_bitmap = SelectObject(mem, bitmap);
      HGDIOBJ old_font = SelectObject(mem, font_ ? font_ : DefaultWidgetFont());
      SetViewportOrgEx(mem, -area.left, -area.top, nullptr);
      DrawBackground(mem, area);
      for (const auto& item : items_) {
        RECT overlap;
        if (!(item->state & kItemVisible) || !IntersectRect(&overlap, &item->rect, &area)) continue;
        POINT previous;
        OffsetViewportOrgEx(mem, item->rect.left, item->rect.top, &previous);
        item->Paint(mem);
        SetViewportOrgEx(mem, previous.x, previous.y, nullptr);
      }
      SetViewportOrgEx(mem, 0, 0, nullptr);
      BitBlt(dc, area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old_font);
      SelectObject(mem, old_bitmap);
      DeleteDC(mem);
      DeleteObject(bitmap);
    }
  }
  EndPaint(hwnd_, &ps);
}

CWidgetItem* CWidgetWindow::OnMouseUp(CWidgetItem* pressed, int x, int y, bool inside) {
  CWidgetItem* hit = HitTest(x, y);
  if (inside && hit && hit == pressed) return OnItemClick(hit);
  return hit;
}

LRESULT CWidgetWindow::OnLButtonDown(int x, int y) {
  Invalidate(nullptr);
  UpdateHover(x, y);
  CWidgetItem* item = HitTest(x, y);
  if (const LRESULT r = OnItemMouseDown(item)) return r;
  SetCapture(hwnd_);
  if (item) item->state |= kItemPressed;
  bool inside = false;
  int last_x = x, last_y = y;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (GetCapture() != hwnd_) break;
    if (msg.message == WM_LBUTTONUP) {
      last_x = GET_X_LPARAM(msg.lParam), last_y = GET_Y_LPARAM(msg.lParam);
      ReleaseCapture();
      inside = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      last_x = GET_X_LPARAM(msg.lParam), last_y = GET_Y_LPARAM(msg.lParam);
      if (item) {
        const bool over = HitTest(last_x, last_y) == item;
        if (over != ((item->state & kItemHover) != 0)) {
          item->state = over ? (item->state | kItemHover) : (item->state & ~kItemHover);
          Invalidate(&item->rect);
        }
      }
      continue;
    }
    DispatchMessageW(&msg);
  }
  OnMouseUp(item, last_x, last_y, inside);
  if (item) item->state &= ~kItemPressed;
  Invalidate(nullptr);
  return 0;
}

FCTimerNotify::FCTimerNotify() {
  if (g_timer_objects++ == 0) g_timers = new std::map<UINT_PTR, FCTimerNotify*>;
}

FCTimerNotify::~FCTimerNotify() {
  StopTimer();
  if (--g_timer_objects == 0) {
    delete g_timers;
    g_timers = nullptr;
  }
}

UINT_PTR FCTimerNotify::StartTimer(UINT interval_ms) {
  StopTimer();
  const UINT_PTR id = SetTimer(nullptr, 0, interval_ms, TimerProc);
  if (id) {
    id_ = id;
    (*g_timers)[id] = this;
  }
  return id;
}

void FCTimerNotify::StopTimer() {
  if (!id_) return;
  g_timers->erase(id_);
  KillTimer(nullptr, id_);
  id_ = 0;
}

bool FCTimerNotify::MapExists() { return g_timers != nullptr; }

void CALLBACK FCTimerNotify::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_timers) return;
  auto it = g_timers->find(id);
  if (it != g_timers->end()) it->second->OnTimer();
}

void CWidgetItemImage::Paint(HDC dc) {
  if (picture.IsValid()) picture.Draw(dc, 0, 0, picture.Width(), picture.Height());
}

void CWidgetItemBitmapButton::Paint(HDC dc) {
  if (!sheet || !sheet->IsValid()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int row = !(state & kItemEnabled) ? 2 : (state & (kItemHover | kItemChecked)) ? 1 : 0;
  const RECT cell{column * w, row * h, (column + 1) * w, (row + 1) * h};
  sheet->Draw(dc, 0, 0, w, h, &cell);
}

}  // namespace widget_window
