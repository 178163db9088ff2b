#include "popup_dialog/png_button.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace popup_dialog {
namespace {

constexpr UINT_PTR kSubclassId = 0x50AB;

std::unique_ptr<Gdiplus::Bitmap> LoadPngResource(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, found);
  if (!bytes || !size) return nullptr;
  IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
  if (!stream) return nullptr;
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(stream);
  stream->Release();
  if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return bitmap;
}

}  // namespace

CPngButton::~CPngButton() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
}

bool CPngButton::Attach(HWND button) {
  if (!button || hwnd_) return hwnd_ == button && button;
  hwnd_ = button;
  SetWindowLongPtrW(button, GWL_STYLE, (GetWindowLongPtrW(button, GWL_STYLE) & ~0xFL) | BS_OWNERDRAW);
  return SetWindowSubclass(button, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

bool CPngButton::LoadImage(int resource_id, int frames) {
  auto picture = LoadPngResource(resource_id);
  if (!picture) return false;
  picture_ = std::move(picture);
  resource_id_ = resource_id;
  frames_ = frames == 3 || frames == 4 ? frames : 1;
  if (hwnd_) {
    const int w = static_cast<int>(picture_->GetWidth()) / frames_, h = static_cast<int>(picture_->GetHeight());
    SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  return true;
}

int CPngButton::state() const { return hwnd_ && !IsWindowEnabled(hwnd_) ? 4 : state_; }

void CPngButton::SetState(int state) {
  if (state == state_) return;
  state_ = state;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CPngButton::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  Gdiplus::Graphics g(dc);
  g.Clear(Gdiplus::Color(0xFF272727));
  const int s = state();
  if (picture_ && !(frames_ == 3 && s == 4)) {
    const int w = static_cast<int>(picture_->GetWidth()) / frames_, h = static_cast<int>(picture_->GetHeight());
    const int frame = frames_ == 1 ? 0 : s - 1;
    g.DrawImage(picture_.get(), Gdiplus::Rect(0, 0, w, h), frame * w, 0, w, h, Gdiplus::UnitPixel);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK CPngButton::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<CPngButton*>(ref);
  switch (msg) {
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!self->tracking_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, hwnd, 1};
        self->tracking_ = TrackMouseEvent(&tme) != FALSE;
        if (self->state_ == 1) self->SetState(2);  // hover follows within a millisecond anyway
      }
      break;
    case WM_MOUSEHOVER:
      if (self->state_ != 3) self->SetState(2);
      break;
    case WM_MOUSELEAVE:
      self->tracking_ = false;
      self->SetState(1);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      self->SetState(3);
      break;
    case WM_LBUTTONUP:
      self->SetState(2);
      break;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      self->hwnd_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace popup_dialog
