#include "image/obj_image.h"

#include <wrl/client.h>

#include <cstring>
#include <vector>

namespace image {

FCObjImage::~FCObjImage() { Destroy(); }

void FCObjImage::Destroy() {
  if (dib_) DeleteObject(dib_);
  dib_ = nullptr;
  rows_.reset();
  pixels_ = nullptr;
  width_ = height_ = bpp_ = signed_height_ = 0;
}

void FCObjImage::BuildRows() {
  const int stride = Stride();
  rows_ = std::make_unique<std::uint8_t*[]>(static_cast<size_t>(height_));
  for (int i = 0; i < height_; ++i)
    rows_[static_cast<size_t>(i)] = signed_height_ >= 0
                                        ? pixels_ + static_cast<std::ptrdiff_t>(height_ - 1 - i) * stride
                                        : pixels_ + static_cast<std::ptrdiff_t>(i) * stride;
}

bool FCObjImage::Create(int width, int signed_height, int bpp) {
  Destroy();
  if (signed_height == 0 || width <= 0 || (bpp != 8 && bpp != 24 && bpp != 32)) return false;
  if (signed_height == INT32_MIN) return false;
  width_ = width;
  bpp_ = bpp;
  signed_height_ = signed_height;
  height_ = signed_height < 0 ? -signed_height : signed_height;
  // Header and, up to 8 bits, 256 colour entries, all zero.
  std::vector<std::uint8_t> info(bpp <= 8 ? 1080 : 56, 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = signed_height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bpp);
  header->biCompression = BI_RGB;
  void* bits = nullptr;
  dib_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib_ || !bits) {
    Destroy();
    return false;
  }
  pixels_ = static_cast<std::uint8_t*>(bits);
  BuildRows();
  return true;
}

FCObjImage& FCObjImage::CopyFrom(const FCObjImage& source) {
  if (&source == this) return *this;
  if (!source.IsValid()) {
    Destroy();
    return *this;
  }
  if (Create(source.width_, source.signed_height_, source.bpp_)) {
    GdiFlush();
    std::memcpy(pixels_, source.pixels_, static_cast<size_t>(source.Stride()) * source.height_);
    x_offset = source.x_offset;
    y_offset = source.y_offset;
  }
  return *this;
}

void FCObjImage::TakeOver(FCObjImage& source) {
  if (&source == this) return;
  Destroy();
  std::swap(width_, source.width_);
  std::swap(height_, source.height_);
  std::swap(signed_height_, source.signed_height_);
  std::swap(bpp_, source.bpp_);
  std::swap(pixels_, source.pixels_);
  std::swap(rows_, source.rows_);
  std::swap(dib_, source.dib_);
}

bool FCObjImage::CreatePremultiplied(const BgraBuffer& pixels) {
  if (pixels.empty() || !Create(pixels.width, -pixels.height, 32)) return false;
  for (int y = 0; y < pixels.height; ++y) {
    const std::uint32_t* src = pixels.Row(y);
    auto* dst = reinterpret_cast<std::uint32_t*>(RowPointer(y));
    for (int x = 0; x < pixels.width; ++x) {
      const std::uint32_t p = src[x], a = p >> 24;
      if (a == 255) {
        dst[x] = p;
        continue;
      }
      const auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      dst[x] = (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
    }
  }
  return true;
}

bool FCObjImage::AttachBuffer(int width, int height, void* pixels) {
  Destroy();
  if (width <= 0 || height <= 0 || !pixels) return false;
  width_ = width;
  height_ = height;
  bpp_ = 32;
  signed_height_ = -height;
  pixels_ = static_cast<std::uint8_t*>(pixels);
  BuildRows();
  return true;
}

void FCObjImage::Draw(HDC dc, int left, int top, int right, int bottom, const RECT* source) const {
  if (!IsValid() || !dc) return;
  if (!dib_) {
    // Pixels someone else owns have no DIB to select: they are drawn through a copy that has one.
    FCObjImage copy;
    copy.CopyFrom(*this);
    copy.Draw(dc, left, top, right, bottom, source);
    return;
  }
  const RECT src = source ? *source : RECT{0, 0, width_, height_};
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) return;
  HGDIOBJ old = SelectObject(mem, dib_);
  if (bpp_ == 32) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, left, top, right - left, bottom - top, mem, src.left, src.top, src.right - src.left,
               src.bottom - src.top, blend);
  } else {
    const int previous = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, left, top, right - left, bottom - top, mem, src.left, src.top, src.right - src.left,
               src.bottom - src.top, SRCCOPY);
    SetStretchBltMode(dc, previous);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

bool FCObjImage::CreateFromWicSource(IWICBitmapSource* source, const WICPixelFormatGUID& format) {
  Destroy();
  int bpp = 0;
  if (format == GUID_WICPixelFormat24bppBGR) bpp = 24;
  else if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA ||
           format == GUID_WICPixelFormat32bppPBGRA)
    bpp = 32;
  if (!source || bpp == 0) return false;
  Microsoft::WRL::ComPtr<IWICBitmapSource> converted;
  if (FAILED(WICConvertBitmapSource(format, source, &converted))) return false;
  UINT w = 0, h = 0;
  if (FAILED(converted->GetSize(&w, &h)) || w < 1 || h == 0 || w > INT32_MAX / 32 || h > INT32_MAX / 2) return false;
  if (!Create(static_cast<int>(w), -static_cast<int>(h), bpp)) return false;
  const UINT stride = static_cast<UINT>(Stride());
  const unsigned long long total = static_cast<unsigned long long>(stride) * h;
  if (total > UINT32_MAX || FAILED(converted->CopyPixels(nullptr, stride, static_cast<UINT>(total), pixels_))) {
    Destroy();
    return false;
  }
  return true;
}

bool FCObjImage::CreateFromGdiplusBitmap(Gdiplus::Bitmap& bitmap, Gdiplus::PixelFormat format) {
  const int bpp = static_cast<int>((format >> 8) & 0xFF);
  if (!Create(static_cast<int>(bitmap.GetWidth()), static_cast<int>(bitmap.GetHeight()), bpp)) return false;
  // GDI+ writes its top-down rows straight into the bottom-up DIB: the top row first, a negative step.
  Gdiplus::BitmapData data{};
  data.Width = static_cast<UINT>(width_);
  data.Height = static_cast<UINT>(height_);
  data.Stride = -Stride();
  data.PixelFormat = format;
  data.Scan0 = RowPointer(0);
  Gdiplus::Rect all(0, 0, width_, height_);
  if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, format, &data) ==
      Gdiplus::Ok)
    bitmap.UnlockBits(&data);
  return IsValid();
}

CMemDCScope::CMemDCScope(HBITMAP bitmap, HBRUSH fill) {
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) return;
  old_bitmap_ = SelectObject(dc_, bitmap);
  old_font_ = GetCurrentObject(dc_, OBJ_FONT);
  SetBkMode(dc_, TRANSPARENT);
  SetStretchBltMode(dc_, COLORONCOLOR);
  if (fill) {
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof(info), &info)) {
      RECT all{0, 0, info.bmWidth, info.bmHeight};
      FillRect(dc_, &all, fill);
    }
  }
}

CMemDCScope::~CMemDCScope() {
  if (!dc_) return;
  SelectObject(dc_, old_font_);
  SelectObject(dc_, old_bitmap_);
  DeleteDC(dc_);
}

void ComposeToBitmap(const FCObjImage& image, HBRUSH background, HBITMAP& bitmap) {
  if (bitmap) DeleteObject(bitmap);
  bitmap = nullptr;
  HDC screen = GetDC(nullptr);
  bitmap = CreateCompatibleBitmap(screen, image.Width(), image.Height());
  ReleaseDC(nullptr, screen);
  if (!bitmap) return;
  CMemDCScope scope(bitmap, background);
  image.Draw(scope.dc(), 0, 0, image.Width(), image.Height());
}

}  // namespace image
