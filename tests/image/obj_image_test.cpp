// FCObjImage on real DIB sections, WIC sources and GDI+ bitmaps.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "basic_lib/gdiplus.h"
#include "image/obj_image.h"

using image::FCObjImage;
using Microsoft::WRL::ComPtr;

namespace {

std::uint32_t PixelAt(HDC dc, HBITMAP bitmap, int x, int y) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 1;
  bi.bmiHeader.biHeight = 1;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  std::vector<std::uint32_t> rows(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), rows.data(), &bi, DIB_RGB_COLORS);
  return rows[static_cast<size_t>(y) * info.bmWidth + x] & 0xFFFFFF;
}

}  // namespace

TEST(ObjImage, CreateRejectsBadShapesAndSetsStrides) {
  FCObjImage img;
  for (const auto& [w, h, bpp] : {std::tuple{0, 10, 32}, std::tuple{10, 0, 32}, std::tuple{10, 10, 16},
                                  std::tuple{-3, 10, 24}, std::tuple{10, 10, 1}}) {
    ASSERT_TRUE(img.Create(4, 4, 32));
    EXPECT_FALSE(img.Create(w, h, bpp)) << w << "x" << h << "x" << bpp;
    EXPECT_FALSE(img.IsValid());
    EXPECT_EQ(img.Width(), 0);
    EXPECT_EQ(img.ColorBits(), 0);
  }
  for (const auto& [w, bpp, stride] : {std::tuple{3, 24, 12}, std::tuple{1, 24, 4}, std::tuple{5, 8, 8},
                                       std::tuple{7, 32, 28}, std::tuple{4, 8, 4}}) {
    ASSERT_TRUE(img.Create(w, 2, bpp));
    EXPECT_EQ(img.Stride(), stride) << w << " px " << bpp << " bpp";
  }
}

TEST(ObjImage, RowZeroIsTheTopInBothStorageOrders) {
  FCObjImage bottom_up, top_down;
  ASSERT_TRUE(bottom_up.Create(3, 5, 24));
  ASSERT_TRUE(top_down.Create(3, -5, 24));
  EXPECT_EQ(bottom_up.Height(), 5);
  EXPECT_EQ(top_down.Height(), 5);
  EXPECT_EQ(bottom_up.RowPointer(0), bottom_up.Pixels() + 4 * 12);
  EXPECT_EQ(bottom_up.RowPointer(4), bottom_up.Pixels());
  EXPECT_EQ(top_down.RowPointer(0), top_down.Pixels());
  EXPECT_EQ(top_down.RowPointer(1), top_down.Pixels() + 12);

  // Drawn, row 0 is the top of the picture either way.
  for (FCObjImage* img : {&bottom_up, &top_down}) {
    std::memset(img->Pixels(), 0, 12 * 5);
    img->RowPointer(0)[2] = 0xFF;  // red, top-left
    HDC screen = GetDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(screen, 3, 5);
    {
      image::CMemDCScope scope(target);
      img->Draw(scope.dc(), 0, 0, 3, 5);
    }
    EXPECT_EQ(PixelAt(screen, target, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(screen, target, 0, 4), 0u);
    DeleteObject(target);
    ReleaseDC(nullptr, screen);
  }
}

TEST(ObjImage, CopyTakeOverAndAttach) {
  FCObjImage source, copy;
  ASSERT_TRUE(source.Create(2, 3, 32));
  source.x_offset = 5;
  source.y_offset = -7;
  source.RowPointer(1)[0] = 42;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.SignedHeight(), 3) << "the storage order is kept";
  EXPECT_EQ(copy.x_offset, 5);
  EXPECT_EQ(copy.y_offset, -7);
  EXPECT_EQ(copy.RowPointer(1)[0], 42);
  EXPECT_NE(copy.Pixels(), source.Pixels());
  copy.CopyFrom(copy);
  EXPECT_EQ(copy.RowPointer(1)[0], 42) << "a copy of itself changes nothing";
  FCObjImage empty;
  copy.CopyFrom(empty);
  EXPECT_FALSE(copy.IsValid());

  FCObjImage keeper;
  std::uint8_t* pixels = source.Pixels();
  keeper.TakeOver(source);
  EXPECT_FALSE(source.IsValid());
  EXPECT_EQ(keeper.Pixels(), pixels);
  EXPECT_EQ(keeper.Width(), 2);

  std::vector<std::uint32_t> outside(4 * 3, 0xABCDEF01u);
  {
    FCObjImage view;
    ASSERT_TRUE(view.AttachBuffer(4, 3, outside.data()));
    EXPECT_EQ(view.ColorBits(), 32);
    EXPECT_EQ(view.SignedHeight(), -3);
    EXPECT_EQ(view.RowPointer(2), reinterpret_cast<std::uint8_t*>(outside.data()) + 2 * 16);
    view.Destroy();
  }
  EXPECT_EQ(outside[11], 0xABCDEF01u) << "the outside memory is never freed";
}

TEST(ObjImage, DrawBlendsThirtyTwoBitsAndRestoresTheStretchMode) {
  HDC screen = GetDC(nullptr);
  HBITMAP target = CreateCompatibleBitmap(screen, 4, 4);
  FCObjImage clear, opaque;
  ASSERT_TRUE(clear.Create(4, 4, 32));
  std::memset(clear.Pixels(), 0, 64);  // alpha 0 everywhere
  ASSERT_TRUE(opaque.Create(2, 2, 24));
  std::memset(opaque.Pixels(), 0x80, static_cast<size_t>(opaque.Stride()) * 2);
  {
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    image::CMemDCScope scope(target, green);
    DeleteObject(green);
    clear.Draw(scope.dc(), 0, 0, 4, 4);
    EXPECT_EQ(PixelAt(scope.dc(), target, 1, 1), 0x00C800u) << "a transparent image leaves the destination";
    SetStretchBltMode(scope.dc(), HALFTONE);
    opaque.Draw(scope.dc(), 0, 0, 4, 4);
    EXPECT_EQ(GetStretchBltMode(scope.dc()), HALFTONE);
    EXPECT_EQ(PixelAt(scope.dc(), target, 3, 3), 0x808080u);
  }
  DeleteObject(target);
  ReleaseDC(nullptr, screen);
}

TEST(ObjImage, FromWicSourceAndGdiplus) {
  ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  {
    ComPtr<IWICImagingFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_PPV_ARGS(&factory)));
    std::uint32_t pixels[6] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x80808080, 0x00000000, 0xFFFFFFFF};
    ComPtr<IWICBitmap> bitmap;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateBitmapFromMemory(3, 2, GUID_WICPixelFormat32bppBGRA, 12, sizeof(pixels),
                                                             reinterpret_cast<BYTE*>(pixels), &bitmap));
    FCObjImage img;
    EXPECT_FALSE(img.CreateFromWicSource(bitmap.Get(), GUID_WICPixelFormat8bppGray));
    EXPECT_FALSE(img.CreateFromWicSource(bitmap.Get(), GUID_WICPixelFormat32bppRGBA));
    EXPECT_FALSE(img.IsValid());
    ASSERT_TRUE(img.CreateFromWicSource(bitmap.Get(), GUID_WICPixelFormat32bppPBGRA));
    EXPECT_EQ(img.SignedHeight(), -2);
    EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(img.RowPointer(0) + 4), 0xFF00FF00u);
    EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(img.RowPointer(1)), 0x80404040u) << "premultiplied";
    ASSERT_TRUE(img.CreateFromWicSource(bitmap.Get(), GUID_WICPixelFormat24bppBGR));
    EXPECT_EQ(img.ColorBits(), 24);
    EXPECT_EQ(img.RowPointer(0)[6 + 2], 0xFF);
  }
  CoUninitialize();

  basic_lib::ScopedGdiplus gdiplus;
  Gdiplus::Bitmap bitmap(2, 3, PixelFormat32bppARGB);
  bitmap.SetPixel(0, 0, Gdiplus::Color(255, 255, 0, 0));
  bitmap.SetPixel(1, 2, Gdiplus::Color(128, 0, 0, 255));
  FCObjImage img;
  ASSERT_TRUE(img.CreateFromGdiplusBitmap(bitmap, PixelFormat32bppPARGB));
  EXPECT_EQ(img.SignedHeight(), 3) << "bottom-up";
  EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(img.RowPointer(0)), 0xFFFF0000u) << "GDI+'s top row is row 0";
  EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(img.RowPointer(2) + 4), 0x80000080u);

  HBITMAP composed = nullptr;
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FCObjImage transparent;
  ASSERT_TRUE(transparent.Create(3, 3, 32));
  std::memset(transparent.Pixels(), 0, 36);
  image::ComposeToBitmap(transparent, blue, composed);
  ASSERT_NE(composed, nullptr);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(PixelAt(screen, composed, 2, 2), 0x0000FFu) << "the background shows through";
  ReleaseDC(nullptr, screen);
  DeleteObject(composed);
  DeleteObject(blue);
}
