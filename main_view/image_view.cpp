#include "main_view/image_view.h"

#include <windowsx.h>
#include <shlwapi.h>

#include "app/app_config.h"
#include "app/language.h"
#include "folder/current_folder_image.h"
#include "image/current_picture.h"
#include "main_view/main_messages.h"
#include "main_view/view_items.h"
#include "main_view/view_layout.h"
#include "main_view/view_services.h"
#include "main_view/wheel_rules.h"
#include "popup_dialog/mouse_wheel_prompt.h"
#include "view_render/key_frame_render.h"
#include "widget_window/ui_event.h"

namespace main_view {
namespace {

constexpr DWORD kViewStyle = 0x52010000;  // child, visible, clip children, tab stop

}  // namespace

HWND WndMainImageView::Create(HWND parent, const RECT& rect) {
  HWND hwnd = CWidgetWindow::Create(parent, rect, kImageViewId, kViewStyle);
  if (!hwnd) return nullptr;
  auto left = std::make_unique<CTurnPageItem>(hwnd, false);
  const int arrow_width = left->picture_width();
  AddItem(std::move(left));
  AddItem(std::make_unique<CTurnPageItem>(hwnd, true));
  SetLayout(std::make_unique<CMainViewLayout>(arrow_width));
  RecalcLayout();
  return hwnd;
}

RECT WndMainImageView::ViewArea() const {
  RECT area{};
  GetClientRect(hwnd(), &area);
  const app::CAppConfig& config = app::CAppConfig::Get();
  if (!config.toolbar_dock) {
    area.left += config.view_margin;
    area.right -= config.view_margin;
    area.bottom -= config.view_margin;
  }
  return area;
}

HWND WndMainImageView::MainWindow() const { return GetParent(hwnd()); }

void WndMainImageView::Repaint() {
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void WndMainImageView::RemoveTransientItems() {
  for (int id = kItemLoadError; id <= kItemSavingTip; ++id) RemoveItem(id);
  for (int id : {kItemArrowLeft, kItemArrowRight})
    if (auto* arrow = FindItem(id)) arrow->state &= ~widget_window::kItemVisible;
}

void WndMainImageView::ShowArrows() {
  const folder::CCurrentFolderImage& list = ViewServices::Get().folder_list();
  const std::pair<int, int> arrows[] = {{kItemArrowLeft, -1}, {kItemArrowRight, +1}};
  for (const auto& [id, offset] : arrows) {
    auto* arrow = FindItem(id);
    if (!arrow) continue;
    if (list.CanMove(offset)) arrow->state |= widget_window::kItemVisible;
    else arrow->state &= ~widget_window::kItemVisible;
  }
}

void WndMainImageView::ShowPicture() {
  if (!hwnd()) return;
  RemoveTransientItems();
  renderer_.reset();
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  const std::wstring path = picture.GetPath();
  if (path.empty()) {
    AddItem(std::make_unique<CWelcomeSlogonItem>());
    AddItem(std::make_unique<CWelcomeOpenItem>());
    picture.Open(L"");
  } else {
    if (!PathFileExistsW(path.c_str())) {
      auto tip = std::make_unique<CTipItem>(L"当前文件不存在");
      tip->id = kItemMissingTip;
      AddItem(std::move(tip));
    } else if (!picture.GetLoader()) {
      AddItem(std::make_unique<CLoadErrorItem>(app::GetLanguageString(L"app", L"LOAD_IMAGE_ERROR_TIP")));
    } else {
      const RECT area = ViewArea();
      renderer_ = ViewServices::Get().MakeRenderer(hwnd(), area.right - area.left, area.bottom - area.top);
      if (!renderer_->pre_render() || !renderer_->pre_render()->GetFrameBitmap(0))
        AddItem(std::make_unique<CLoadingGifItem>(hwnd()));
    }
    ViewServices::Get().folder_list().Update(hwnd(), path);
  }
  RecalcLayout();
  Repaint();
  ViewServices::Get().title().UpdateTitle();
  widget_window::RaiseUIEvent(widget_window::CUIEventViewImageChanged());
}

void WndMainImageView::EndSizing() {
  sizing_ = false;
  if (!renderer_) return;
  const RECT area = ViewArea();
  renderer_->SetViewSize(area.right - area.left, area.bottom - area.top);
  if (image::CCurrentPicture::Instance().IsLongPicture()) ShowPicture();
}

void WndMainImageView::OnViewSize() {
  if (sizing_ || !renderer_) return;
  const RECT area = ViewArea();
  renderer_->SetViewSize(area.right - area.left, area.bottom - area.top);
}

void WndMainImageView::ScrollPage(int command) {
  if (!renderer_) return;
  const int d = static_cast<int>(0.8 * GetSystemMetrics(SM_CYFULLSCREEN));
  renderer_->Pan(0, command == ID_SCROLL_UP ? d : -d);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void WndMainImageView::ZoomStep(int in) {
  if (!renderer_) return;
  const RECT area = ViewArea();
  renderer_->ZoomBy(in ? 1 : -1, (area.right - area.left) / 2, (area.bottom - area.top) / 2);
  Repaint();
}

void WndMainImageView::ToggleFitActual() {
  if (!renderer_) return;
  renderer_->ToggleFitCenter();
  Repaint();
}

void WndMainImageView::SetRotator(std::function<void(int direction)> rotator) { rotator_ = std::move(rotator); }

void WndMainImageView::Rotate(int direction) {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  if (!renderer_ || !rotator_ || picture.IsAnimated()) return;
  // The fit frame already on screen becomes the rotated picture's first frame, until the file catches up.
  if (renderer_->pre_render()) picture.SetPreview(renderer_->pre_render()->GetFrameBitmap(1));
  renderer_.reset();
  rotator_(direction);
  ShowPicture();
}

void WndMainImageView::ShowSavingTip() {
  RemoveTransientItems();
  auto tip = std::make_unique<CTipItem>(L"保存图片中");
  tip->id = kItemSavingTip;
  AddItem(std::move(tip));
  RecalcLayout();
  Repaint();
}

void WndMainImageView::HideSavingTip() {
  RemoveItem(kItemSavingTip);
  ShowArrows();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void WndMainImageView::CloseWheelPrompt() {
  if (auto* prompt = popup_dialog::DlgMouseWheelFavorite2::Current(); prompt && prompt->hwnd())
    SendMessageW(prompt->hwnd(), WM_CLOSE, 0, 0);
}

void WndMainImageView::OnFolderListChanged() {
  ViewServices::Get().title().UpdateTitle();
  ShowArrows();
  widget_window::RaiseUIEvent(widget_window::CUIEventFolderImageCollected());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void WndMainImageView::OnMouseWheel(WPARAM wp, LPARAM lp) {
  if (FindItem(kItemOpenButton) || popup_dialog::DlgMouseWheelFavorite2::Current()) return;
  app::CAppConfig& config = app::CAppConfig::Get();
  if (config.mouse_wheel_action == 99) {
    config.ReloadWheelKeys();
    if (config.mouse_wheel_action == 99) popup_dialog::DlgMouseWheelFavorite2::Run(MainWindow());
  }
  const int delta = GET_WHEEL_DELTA_WPARAM(wp);
  const WheelDecision d = DecideWheel(config.mouse_wheel_action, GET_KEYSTATE_WPARAM(wp), GetKeyState(VK_MENU) < 0, delta);
  if (d.outcome == WheelOutcome::kZoom) {
    if (!renderer_) return;
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ScreenToClient(hwnd(), &pt);
    const RECT area = ViewArea();
    renderer_->ZoomBy(d.zoom_steps, pt.x - area.left, pt.y - area.top);
    Repaint();
    return;
  }
  const WORD command = d.outcome == WheelOutcome::kScrollUp     ? ID_SCROLL_UP
                       : d.outcome == WheelOutcome::kScrollDown ? ID_SCROLL_DOWN
                       : d.outcome == WheelOutcome::kPrevious   ? ID_PREVIOUS
                                                                : ID_NEXT;
  PostMessageW(MainWindow(), WM_COMMAND, command, 0);
}

bool WndMainImageView::ClickItem(widget_window::CWidgetItem* item) {
  if (!item) return false;
  switch (item->id) {
    case kItemArrowLeft:
      PostMessageW(MainWindow(), WM_KEYDOWN, VK_LEFT, 0);
      break;
    case kItemArrowRight:
      PostMessageW(MainWindow(), WM_KEYDOWN, VK_RIGHT, 0);
      break;
    case kItemOpenButton:
      // The pressed face shows while the open dialog runs.
      item->state |= widget_window::kItemPressed;
      Repaint();
      PostMessageW(MainWindow(), WM_COMMAND, ID_OPEN, 0);
      break;
    default:
      break;
  }
  return true;
}

LRESULT WndMainImageView::OnLButtonDown(int x, int y) {
  if (ClickItem(HitTest(x, y))) return 0;
  if (renderer_) DragToPan(x, y);
  return 0;
}

LRESULT WndMainImageView::OnLButtonDblClk(int x, int y) {
  if (ClickItem(HitTest(x, y))) return 0;
  if (!renderer_) return 0;
  const RECT area = ViewArea();
  renderer_->ToggleFitAt(x - area.left, y - area.top);
  Repaint();
  return 0;
}

void WndMainImageView::DragToPan(int x, int y) {
  HWND self = hwnd();
  SetCapture(self);
  int last_x = x, last_y = y;
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (GetCapture() != self || !renderer_) {
      InvalidateRect(self, nullptr, FALSE);
      return;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      const int mx = GET_X_LPARAM(msg.lParam), my = GET_Y_LPARAM(msg.lParam);
      renderer_->Pan(mx - last_x, my - last_y);
      Repaint();
      last_x = mx, last_y = my;
      if (msg.message == WM_LBUTTONUP) break;
      continue;
    }
    DispatchMessageW(&msg);
  }
  if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends too
  ReleaseCapture();
  InvalidateRect(self, nullptr, FALSE);
}

void WndMainImageView::DrawBackground(HDC dc, const RECT& area) {
  FillRect(dc, &area, app::CAppConfig::Get().canvas_brush());
  if (!renderer_) return;
  const RECT view = ViewArea();
  POINT previous;
  OffsetViewportOrgEx(dc, view.left, view.top, &previous);
  renderer_->Paint(dc, view.right - view.left, view.bottom - view.top, sizing_);
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

LRESULT WndMainImageView::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEWHEEL:
      OnMouseWheel(wp, lp);
      return 0;
    case WM_CONTEXTMENU:
      return 0;  // the context menu comes with the menus
    case WM_LBUTTONUP:
      if (auto* open = FindItem(kItemOpenButton); open && open->Is(widget_window::kItemPressed)) {
        open->state &= ~widget_window::kItemPressed;
        InvalidateRect(hwnd(), &open->rect, FALSE);
      }
      break;
    case WM_SIZE:
      OnViewSize();
      break;
    case WM_DESTROY:
      renderer_.reset();
      break;
    case view_render::WM_APP_FIRST_FRAME_READY:
      RemoveItem(kItemLoading);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case folder::WM_APP_FOLDER_LIST_CHANGED:
      OnFolderListChanged();
      return 0;
    case WM_MENU_RESULT:
      if (static_cast<int>(wp) != -1) PostMessageW(MainWindow(), WM_COMMAND, LOWORD(wp), 0);
      return 0;
  }
  return CWidgetWindow::WindowProc(msg, wp, lp);
}

}  // namespace main_view
