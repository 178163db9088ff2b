#include "ui_toolkit/window.h"

#include <windowsx.h>

#include <algorithm>

#include "basic_lib/window_binding.h"
#include "basic_lib/window_class.h"
#include "ui_toolkit/painter.h"
#include "ui_toolkit/picture.h"

namespace ui_toolkit {
namespace {

constexpr UINT_PTR kEditIdBase = 1000;

HWND EditWindow(const CControlUI* c) { return static_cast<HWND>(c->native_window); }

template <typename F>
void ForEach(CControlUI& c, const F& f) {
  f(c);
  for (const auto& child : c.children()) ForEach(*child, f);
}

}  // namespace

CWindowUI::CWindowUI(std::wstring layout_file, std::wstring window_class, PackageSource source)
    : layout_file_(std::move(layout_file)), class_name_(std::move(window_class)), source_(source) {}

CWindowUI::~CWindowUI() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool CWindowUI::RegisterClassOnce() const {
  return basic_lib::RegisterWindowClassOnce(CToolkit::Get().instance(), class_name_.c_str(), StaticWindowProc,
                                            CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
}

HWND CWindowUI::Create(HWND owner, DWORD style, DWORD ex_style) {
  if (!CToolkit::Get().LoadLayout(layout_file_, source_, layout_) || !RegisterClassOnce()) return nullptr;
  const Size size = layout_.window.size;
  RECT r{0, 0, size.cx > 0 ? size.cx : 400, size.cy > 0 ? size.cy : 300};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  HINSTANCE instance = CToolkit::Get().instance();
  CreateWindowExW(ex_style, class_name_.c_str(), L"", style & ~WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                  r.right - r.left, r.bottom - r.top, owner, nullptr, instance, this);
  if (!hwnd_) return nullptr;
  Relayout();
  CreateNativeEdits(*layout_.root);
  InitWindow();
  if (layout_.window.shadow_size > 0) {
    shadow_ = std::make_unique<CShadowWindow>();
    if (!shadow_->Create(hwnd_, layout_.window, source_)) shadow_.reset();
  }
  SendNotify(L"windowinit", nullptr);
  if (style & WS_VISIBLE) ShowWindow(hwnd_, SW_SHOW);
  return hwnd_;
}

LRESULT CALLBACK CWindowUI::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = basic_lib::BoundWindowObject(hwnd, msg, lp, &CWindowUI::hwnd_);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->dropdown_.reset();
    self->shadow_.reset();
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->WindowProc(msg, wp, lp);
}

LRESULT CWindowUI::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT all;
      GetClientRect(hwnd_, &all);
      Paint(reinterpret_cast<HDC>(wp), all);
      return 0;
    }
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (shadow_) shadow_->Follow();
      break;
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
      if (hit != HTCLIENT) return hit;
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ScreenToClient(hwnd_, &pt);
      return OnNcHitTest(pt);
    }
    case WM_MOUSEMOVE:
      OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_CAPTURECHANGED:
      if (pushed_) {
        pushed_->runtime_state &= ~kStatePushed;
        Invalidate(pushed_);
        pushed_ = nullptr;
      }
      return 0;
    case WM_COMMAND:
      OnCommand(wp, lp);
      return 0;
    case WM_KEYDOWN: {
      MSG m{hwnd_, msg, wp, lp, 0, {}};
      if (PreTranslateMessage(m)) return 0;
      break;
    }
    case WM_CLOSE:
      // The modal runner ends on this; the window itself is destroyed by whoever owns it.
      closed_ = true;
      close_code_ = static_cast<int>(wp);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CWindowUI::OnNcHitTest(POINT pt) {
  const Rect& caption = layout_.window.caption;
  RECT client;
  GetClientRect(hwnd_, &client);
  const Rect box = layout_.window.size_box;
  if (box.left || box.top || box.right || box.bottom) {
    const bool l = pt.x < box.left, r = pt.x >= client.right - box.right;
    const bool t = pt.y < box.top, b = pt.y >= client.bottom - box.bottom;
    if (t && l) return HTTOPLEFT;
    if (t && r) return HTTOPRIGHT;
    if (b && l) return HTBOTTOMLEFT;
    if (b && r) return HTBOTTOMRIGHT;
    if (l) return HTLEFT;
    if (r) return HTRIGHT;
    if (t) return HTTOP;
    if (b) return HTBOTTOM;
  }
  const int right = caption.right > 0 ? client.right - caption.right : client.right;
  if (pt.y >= caption.top && pt.y < caption.bottom && pt.x >= caption.left && pt.x < right) {
    CControlUI* hit = layout_.root ? layout_.root->HitTest(pt.x, pt.y) : nullptr;
    if (!IsInteractive(hit)) return HTCAPTION;
  }
  return HTCLIENT;
}

void CWindowUI::Paint(HDC target, const RECT& clip) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0 || !layout_.root) return;
  // One memory bitmap for the whole client area, kept while the size holds: no flicker, and GDI+ text
  // lands on opaque pixels.
  if (!canvas_ || canvas_->width() != client.right || canvas_->height() != client.bottom)
    canvas_ = CPicture::Create(client.right, client.bottom);
  if (!canvas_) return;
  basic_lib::ScopedMemoryDc mem(CreateCompatibleDC(target));
  basic_lib::ScopedSelectObject select(mem.get(), canvas_->bitmap());
  PaintContext ctx{mem.get(), &layout_, source_, {0, 0}, clip};
  PaintWindowBackground(ctx, client.right, client.bottom);
  PaintControl(ctx, *layout_.root);
  BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem.get(), clip.left, clip.top,
         SRCCOPY);
}

bool CWindowUI::IsInteractive(const CControlUI* c) {
  if (!c) return false;
  switch (c->kind()) {
    case ControlKind::kButton:
    case ControlKind::kOption:
    case ControlKind::kCheckBox:
    case ControlKind::kListElement:
    case ControlKind::kCombo:
    case ControlKind::kEdit:
      return true;
    default:
      return false;
  }
}

void CWindowUI::OnMouseMove(POINT pt) {
  if (!tracking_leave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    tracking_leave_ = TrackMouseEvent(&tme) != FALSE;
  }
  CControlUI* hit = layout_.root->HitTest(pt.x, pt.y);
  if (!IsInteractive(hit) || !hit->IsEnabledInTree()) hit = nullptr;
  if (pushed_) {
    // While pressed only the pressed control can be hot, and only while the pointer is over it.
    const bool over = hit == pushed_;
    const std::uint32_t before = pushed_->runtime_state;
    pushed_->runtime_state = over ? (before | kStatePushed | kStateHot) : (before & ~(kStatePushed | kStateHot));
    if (before != pushed_->runtime_state) Invalidate(pushed_);
    return;
  }
  if (hit == hot_) return;
  if (hot_) {
    hot_->runtime_state &= ~kStateHot;
    Invalidate(hot_);
    SendNotify(L"mouseleave", hot_);
  }
  hot_ = hit;
  if (hot_) {
    hot_->runtime_state |= kStateHot;
    Invalidate(hot_);
    SendNotify(L"mouseenter", hot_);
  }
}

void CWindowUI::OnMouseLeave() {
  tracking_leave_ = false;
  if (hot_ && !pushed_) {
    hot_->runtime_state &= ~kStateHot;
    Invalidate(hot_);
    CControlUI* left = hot_;
    hot_ = nullptr;
    SendNotify(L"mouseleave", left);
  }
}

void CWindowUI::OnButtonDown(POINT pt) {
  CControlUI* hit = layout_.root->HitTest(pt.x, pt.y);
  if (!IsInteractive(hit) || !hit->IsEnabledInTree() || hit->kind() == ControlKind::kEdit) return;
  pushed_ = hit;
  pushed_->runtime_state |= kStatePushed | kStateHot;
  Invalidate(pushed_);
  SetCapture(hwnd_);
}

void CWindowUI::OnButtonUp(POINT pt) {
  CControlUI* pressed = pushed_;
  if (!pressed) return;
  pushed_ = nullptr;  // before ReleaseCapture, whose WM_CAPTURECHANGED would clear it
  ReleaseCapture();
  pressed->runtime_state &= ~kStatePushed;
  const bool inside = pressed->rect.contains(pt.x, pt.y);
  if (!inside) pressed->runtime_state &= ~kStateHot;
  Invalidate(pressed);
  if (inside) Activate(pressed);
}

void CWindowUI::Activate(CControlUI* c) {
  switch (c->kind()) {
    case ControlKind::kOption:
      if (!c->selected) SetSelected(c, true, true);
      break;
    case ControlKind::kCheckBox:
      SetSelected(c, !c->selected, true);
      break;
    case ControlKind::kListElement:
      if (CControlUI* list = c->parent()) {
        const auto& items = list->children();
        for (size_t i = 0; i < items.size(); ++i)
          if (items[i].get() == c) SelectItem(list, static_cast<int>(i), true);
      }
      return;
    case ControlKind::kCombo:
      DropDown(c);
      return;
    default:
      break;
  }
  SendNotify(L"click", c);
}

void CWindowUI::DropDown(CControlUI* combo) {
  if (!dropdown_) dropdown_ = std::make_unique<CComboDropDown>(layout_, source_);
  // A click on the combo of an open list first closes the list (it loses the focus); it must not reopen it.
  if (dropdown_->closed_combo() == combo && GetTickCount() - dropdown_->closed_at() < 500) return;
  if (combo->children().empty()) return;
  SendNotify(L"dropdown", combo);
  dropdown_->Open(hwnd_, *combo, [this, combo](int index) {
    SelectItem(combo, index, true);
    if (hwnd_) SetFocus(hwnd_);
  });
}

void CWindowUI::SendNotify(const wchar_t* type, CControlUI* sender, WPARAM wp, LPARAM lp) {
  TNotifyUI msg{type, sender, wp, lp};
  Notify(msg);
}

void CWindowUI::Notify(TNotifyUI&) {}

CControlUI* CWindowUI::FindControl(std::wstring_view name) const {
  return layout_.root ? layout_.root->Find(name) : nullptr;
}

std::wstring CWindowUI::GetText(const CControlUI* c) const {
  if (!c) return {};
  if (HWND edit = EditWindow(c)) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  return c->text;
}

void CWindowUI::SetText(CControlUI* c, const std::wstring& text, bool notify) {
  if (!c) return;
  c->text = text;
  if (HWND edit = EditWindow(c)) {
    setting_text_ = !notify;
    SetWindowTextW(edit, text.c_str());
    setting_text_ = false;
  }
  Invalidate(c);
}

void CWindowUI::SetVisible(CControlUI* c, bool visible) {
  if (!c || c->visible == visible) return;
  c->visible = visible;
  Relayout();
}

void CWindowUI::SetEnabled(CControlUI* c, bool enabled) {
  if (!c) return;
  c->enabled = enabled;
  if (!enabled) {
    c->runtime_state = 0;
    if (hot_ == c) hot_ = nullptr;
  }
  if (HWND edit = EditWindow(c)) EnableWindow(edit, enabled);
  Invalidate(c);
}

void CWindowUI::SetSelected(CControlUI* c, bool selected, bool notify) {
  if (!c || c->selected == selected) return;
  c->selected = selected;
  if (selected && c->kind() == ControlKind::kOption && !c->group.empty() && layout_.root) {
    ForEach(*layout_.root, [&](CControlUI& other) {
      if (&other != c && other.kind() == ControlKind::kOption && other.group == c->group && other.selected) {
        other.selected = false;
        Invalidate(&other);
        if (notify) SendNotify(L"selectchanged", &other);
      }
    });
  }
  Invalidate(c);
  if (notify) SendNotify(L"selectchanged", c);
}

void CWindowUI::SelectItem(CControlUI* list, int index, bool notify) {
  if (!list) return;
  const auto& items = list->children();
  if (index >= static_cast<int>(items.size())) return;
  list->selected_index = index;
  for (size_t i = 0; i < items.size(); ++i) items[i]->selected = static_cast<int>(i) == index;
  Invalidate(list);
  if (notify) SendNotify(L"itemselect", list, static_cast<WPARAM>(index));
}

void CWindowUI::SelectTab(CControlUI* tab, int index, bool notify) {
  if (!tab || index < 0 || index >= static_cast<int>(tab->children().size())) return;
  tab->selected_index = index;
  Relayout();
  if (notify) SendNotify(L"tabselect", tab, static_cast<WPARAM>(index));
}

void CWindowUI::SetPos(CControlUI* c, const Rect& pos) {
  if (!c) return;
  c->is_float = true;
  c->float_pos = pos;
  c->fixed_width = pos.width();
  c->fixed_height = pos.height();
  Relayout();
}

CControlUI* CWindowUI::AddControl(CControlUI* parent, std::unique_ptr<CControlUI> child) {
  if (!parent) return nullptr;
  CControlUI* added = parent->Add(std::move(child));
  Relayout();
  return added;
}

void CWindowUI::Relayout() {
  if (!hwnd_ || !layout_.root) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  ArrangeLayout(*layout_.root, client.right, client.bottom);
  PlaceNativeEdits(*layout_.root);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CWindowUI::Invalidate(const CControlUI* c) {
  if (!hwnd_) return;
  if (!c) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  RECT r{c->rect.left, c->rect.top, c->rect.right, c->rect.bottom};
  InvalidateRect(hwnd_, &r, FALSE);
}

void CWindowUI::Close(int code) {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, static_cast<WPARAM>(code), 0);
}

HFONT CWindowUI::FontFor(int index) {
  for (auto& [id, font] : fonts_)
    if (id == index) return font.get();
  const FontSpec fallback;
  const FontSpec* font_def = layout_.FindFont(index);
  if (!font_def) font_def = layout_.fonts.empty() ? &fallback : &layout_.fonts.front();
  HFONT font = CreateFontW(-font_def->size, 0, 0, 0, font_def->bold ? FW_BOLD : FW_NORMAL, font_def->italic, font_def->underline, 0,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH, font_def->face.c_str());
  fonts_.emplace_back(index, basic_lib::ScopedFont(font));
  return font;
}

void CWindowUI::CreateNativeEdits(CControlUI& root) {
  UINT_PTR next_id = kEditIdBase;
  ForEach(root, [&](CControlUI& c) {
    if (c.kind() != ControlKind::kEdit || c.native_window) return;
    DWORD style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL;
    if (c.align == HorizontalAlign::kCenter) style |= ES_CENTER;
    if (c.align == HorizontalAlign::kRight) style |= ES_RIGHT;
    if (c.Attribute(L"password") == L"true") style |= ES_PASSWORD;
    if (c.Attribute(L"numberonly") == L"true") style |= ES_NUMBER;
    HWND edit = CreateWindowExW(0, L"EDIT", c.text.c_str(), style, 0, 0, 0, 0, hwnd_,
                                reinterpret_cast<HMENU>(next_id++), CToolkit::Get().instance(), nullptr);
    if (!edit) return;
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    if (const auto limit = ParseInt(c.Attribute(L"maxchar")); limit && *limit > 0)
      SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(*limit), 0);
    EnableWindow(edit, c.enabled);
    c.native_window = edit;
  });
  PlaceNativeEdits(root);
}

void CWindowUI::PlaceNativeEdits(CControlUI& root) {
  ForEach(root, [&](CControlUI& c) {
    HWND edit = EditWindow(&c);
    if (!edit) return;
    const Rect& r = c.rect;
    const Rect& p = c.text_padding;
    MoveWindow(edit, r.left + p.left, r.top + p.top, std::max(0, r.width() - p.left - p.right),
               std::max(0, r.height() - p.top - p.bottom), TRUE);
    ShowWindow(edit, c.IsShown() && !r.empty() ? SW_SHOWNA : SW_HIDE);
  });
}

void CWindowUI::OnCommand(WPARAM wp, LPARAM lp) {
  HWND from = reinterpret_cast<HWND>(lp);
  CControlUI* edit = nullptr;
  ForEach(*layout_.root, [&](CControlUI& c) {
    if (from && EditWindow(&c) == from) edit = &c;
  });
  if (!edit) return;
  switch (HIWORD(wp)) {
    case EN_CHANGE:
      if (!setting_text_) SendNotify(L"textchanged", edit);
      break;
    case EN_SETFOCUS:
      focused_ = edit;
      SendNotify(L"setfocus", edit);
      break;
    case EN_KILLFOCUS:
      SendNotify(L"killfocus", edit);
      break;
  }
}

std::vector<CControlUI*> CWindowUI::FocusOrder() const {
  std::vector<CControlUI*> order;
  ForEach(*layout_.root, [&](CControlUI& c) {
    if ((c.kind() == ControlKind::kEdit || c.kind() == ControlKind::kButton) && c.IsShown() && c.IsEnabledInTree() &&
        !c.rect.empty())
      order.push_back(&c);
  });
  return order;
}

void CWindowUI::MoveFocus(bool backwards) {
  const std::vector<CControlUI*> order = FocusOrder();
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), focused_);
  size_t next = 0;
  if (it != order.end()) {
    const size_t at = static_cast<size_t>(it - order.begin());
    next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  } else if (backwards) {
    next = order.size() - 1;
  }
  if (focused_) {
    focused_->runtime_state &= ~(kStateFocused | kStateHot);
    Invalidate(focused_);
  }
  focused_ = order[next];
  if (HWND edit = EditWindow(focused_)) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
  } else {
    SetFocus(hwnd_);
    focused_->runtime_state |= kStateFocused | kStateHot;
    Invalidate(focused_);
  }
}

bool CWindowUI::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  switch (msg.wParam) {
    case VK_ESCAPE:
      // Esc does what the close button does; a window without one closes with IDCANCEL.
      if (CControlUI* cls = FindControl(L"cls"); cls && cls->IsShown() && cls->IsEnabledInTree()) {
        SendNotify(L"click", cls);
      } else {
        Close(IDCANCEL);
      }
      return true;
    case VK_RETURN: {
      CControlUI* target = focused_ && focused_->kind() == ControlKind::kButton ? focused_ : default_button_;
      if (target && target->IsShown() && target->IsEnabledInTree()) {
        SendNotify(L"click", target);
        return true;
      }
      return false;
    }
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
  }
  return false;
}

}  // namespace ui_toolkit
