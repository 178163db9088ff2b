#pragma once
// FCObjImage: the one in-memory raster type. Pixels live in a GDI DIB section (or, after AttachBuffer, in
// memory someone else owns); rows are reached top to bottom through a row table whatever the storage
// order. bpp is 8 (palette index; 256 zero colours), 24 (B, G, R) or 32 (B, G, R, A, premultiplied for
// display). stride = ((bpp * width + 31) / 32) * 4. An image is used by one thread at a time.
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <memory>

#include "basic_lib/gdiplus.h"
#include "image/bgra_buffer.h"

namespace image {

class FCObjGraph {
 public:
  virtual ~FCObjGraph() = default;
  int x_offset = 0;
  int y_offset = 0;
};

class FCObjImage : public FCObjGraph {
 public:
  FCObjImage() = default;
  FCObjImage(const FCObjImage&) = delete;
  FCObjImage& operator=(const FCObjImage&) = delete;
  ~FCObjImage() override;

  // Positive signed_height: stored bottom-up; negative: top-down. False (and empty) for a bad size or bpp.
  bool Create(int width, int signed_height, int bpp);
  void Destroy();
  FCObjImage& CopyFrom(const FCObjImage& source);
  // Moves the source's pixels here; this image must be empty, the source is left empty.
  void TakeOver(FCObjImage& source);
  // Describes an outside 32-bit top-down buffer of exactly 4 * width * height bytes, which is never freed.
  bool AttachBuffer(int width, int height, void* pixels);
  // A 32-bit top-down copy of straight-alpha pixels, premultiplied as display wants them.
  bool CreatePremultiplied(const BgraBuffer& pixels);

  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] int ColorBits() const { return bpp_; }
  [[nodiscard]] int SignedHeight() const { return signed_height_; }
  [[nodiscard]] int Stride() const { return StrideFor(width_, bpp_); }
  [[nodiscard]] bool IsValid() const { return pixels_ != nullptr; }
  [[nodiscard]] std::uint8_t* RowPointer(int y) const { return rows_[static_cast<size_t>(y)]; }
  [[nodiscard]] std::uint8_t* Pixels() const { return pixels_; }
  [[nodiscard]] HBITMAP Bitmap() const { return dib_; }
  [[nodiscard]] static int StrideFor(int width, int bpp) { return ((bpp * width + 31) / 32) * 4; }

  // Alpha-blends (32 bpp) or stretch-copies (8, 24 bpp) into the destination rectangle.
  void Draw(HDC dc, int left, int top, int right, int bottom, const RECT* source = nullptr) const;
  // Converts the source to one of 24bppBGR, 32bppBGR, 32bppBGRA, 32bppPBGRA and copies it, top-down.
  bool CreateFromWicSource(IWICBitmapSource* source, const WICPixelFormatGUID& format);
  // Reads a GDI+ bitmap in its own pixel format into a bottom-up image; true when pixels came.
  bool CreateFromGdiplusBitmap(Gdiplus::Bitmap& bitmap, Gdiplus::PixelFormat format);

 private:
  void BuildRows();

  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  int signed_height_ = 0;
  std::uint8_t* pixels_ = nullptr;
  std::unique_ptr<std::uint8_t*[]> rows_;
  HBITMAP dib_ = nullptr;
};

// A memory DC compatible with the screen with a bitmap selected; puts the old bitmap and font back.
class CMemDCScope {
 public:
  explicit CMemDCScope(HBITMAP bitmap, HBRUSH fill = nullptr);
  CMemDCScope(const CMemDCScope&) = delete;
  CMemDCScope& operator=(const CMemDCScope&) = delete;
  ~CMemDCScope();
  [[nodiscard]] HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
};

// Replaces bitmap with a screen-compatible bitmap of the image's size: the brush, then the image over it.
void ComposeToBitmap(const FCObjImage& image, HBRUSH background, HBITMAP& bitmap);

}  // namespace image
