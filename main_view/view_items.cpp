#include "main_view/view_items.h"

#include <algorithm>

#include "basic_lib/gdiplus.h"
#include "main_view/skin_picture.h"
#include "main_view/view_item_geometry.h"
#include "main_view/view_services.h"

namespace main_view {
namespace {

constexpr COLORREF kLoadErrorText = RGB(105, 105, 105);

}  // namespace

CTurnPageItem::CTurnPageItem(HWND view, bool right) : view_(view) {
  id = right ? kItemArrowRight : kItemArrowLeft;
  LoadSkinPicture(L"turn_page_indicator.png", false, picture_);
  if (right) MirrorHorizontally(picture_);
  state &= ~widget_window::kItemVisible;  // until the folder list says there is a neighbour
}

void CTurnPageItem::Fade(int step) {
  StopTimer();
  step_ = step;
  StartTimer(10);
}

void CTurnPageItem::OnTimer() {
  opacity_ = std::clamp(opacity_ + step_, 0, 100);
  if (opacity_ == 0 || opacity_ == 100) StopTimer();
  if (picture_.IsValid()) {
    working_.Destroy();
    working_.CopyFrom(picture_);
    CEffectFillCurrentAlpha(opacity_).Apply(working_);
  }
  InvalidateRect(view_, &rect, FALSE);
}

void CTurnPageItem::Paint(HDC dc) {
  if (opacity_ == 0 || !working_.IsValid()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  for (const Band& band : ArrowBands(working_.Height(), h)) {
    if (band.dst_bottom <= band.dst_top || band.src_bottom <= band.src_top) continue;
    const RECT source{0, band.src_top, working_.Width(), band.src_bottom};
    working_.Draw(dc, 0, band.dst_top, w, band.dst_bottom, &source);
  }
}

CLoadingGifItem::CLoadingGifItem(HWND view) : view_(view) {
  id = kItemLoading;
  state &= ~widget_window::kItemEnabled;
  sprite_ = SharedSkinPicture(L"loading.png", true);
  frame_ = {0, 0, sprite_->Height(), sprite_->Height()};
  StartTimer(100);
}

void CLoadingGifItem::OnTimer() {
  const int side = frame_.right - frame_.left;
  OffsetRect(&frame_, side, 0);
  if (frame_.right > sprite_->Width()) frame_ = {0, 0, side, side};
  InvalidateRect(view_, &rect, FALSE);
}

void CLoadingGifItem::Paint(HDC dc) {
  if (!sprite_->IsValid()) return;
  const RECT at = FitFrame(rect.right - rect.left, rect.bottom - rect.top, frame_.right - frame_.left);
  sprite_->Draw(dc, at.left, at.top, at.right, at.bottom, &frame_);
}

CLoadErrorItem::CLoadErrorItem(std::wstring error) : error_(std::move(error)) {
  id = kItemLoadError;
  state &= ~widget_window::kItemEnabled;
  LOGFONTW lf{};
  GetObjectW(widget_window::DefaultWidgetFont(), sizeof(lf), &lf);
  HDC screen = GetDC(nullptr);
  lf.lfHeight = -MulDiv(120, GetDeviceCaps(screen, LOGPIXELSY), 720);  // 12 points
  ReleaseDC(nullptr, screen);
  lf.lfQuality = CLEARTYPE_QUALITY;
  font_.reset(CreateFontIndirectW(&lf));
}

void CLoadErrorItem::Paint(HDC dc) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  basic_lib::ScopedSelectObject font(dc, font_.get());
  SetTextColor(dc, kLoadErrorText);
  SetBkMode(dc, TRANSPARENT);
  std::wstring name = ViewServices::Get().title().GetFileName();
  RECT upper{0, 0, w, h / 2}, lower{0, h / 2, w, h};
  DrawTextW(dc, name.data(), static_cast<int>(name.size()), &upper,
            DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  DrawTextW(dc, error_.data(), static_cast<int>(error_.size()), &lower,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

CTipItem::CTipItem(std::wstring tip)
    : background_(SharedSkinPicture(L"not_exist_bg.png", true)), tip_(std::move(tip)) {}

void CTipItem::Paint(HDC dc) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (background_->IsValid()) background_->Draw(dc, 0, 0, w, h);
  Gdiplus::Graphics g(dc);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::FontFamily family(L"微软雅黑");
  Gdiplus::Font font(family.GetLastStatus() == Gdiplus::Ok ? &family : Gdiplus::FontFamily::GenericSansSerif(), 18.0f,
                     Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  Gdiplus::StringFormat format;
  format.SetAlignment(Gdiplus::StringAlignmentCenter);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  const Gdiplus::RectF box(0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h));
  g.DrawString(tip_.c_str(), static_cast<INT>(tip_.size()), &font, box, &format, &white);
}

CWelcomeSlogonItem::CWelcomeSlogonItem() {
  id = kItemSlogan;
  LoadSkinPicture(L"home_slogan.png", true, picture);
  rect = {0, 0, picture.Width(), picture.Height()};
}

CWelcomeOpenItem::CWelcomeOpenItem() {
  id = kItemOpenButton;
  sheet = SharedSkinPicture(L"home_open.png", true);
  const SIZE size = face_size();
  rect = {0, 0, size.cx, size.cy};
}

SIZE CWelcomeOpenItem::face_size() const { return {sheet->Width() / 3, sheet->Height()}; }

void CWelcomeOpenItem::Paint(HDC dc) {
  if (!sheet->IsValid()) return;
  const SIZE size = face_size();
  const int face = Is(widget_window::kItemPressed) ? 2 : Is(widget_window::kItemHover) ? 1 : 0;
  const RECT cell{face * size.cx, 0, (face + 1) * size.cx, size.cy};
  sheet->Draw(dc, 0, 0, size.cx, size.cy, &cell);
}

}  // namespace main_view
