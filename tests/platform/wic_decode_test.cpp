// WIC under Wine decodes a JPEG that libjpeg-turbo wrote, from a path with non-ASCII characters.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "tests/support/temp_dir.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kWidth = 64, kHeight = 48;

// Left half red, right half blue, in BGR order.
std::vector<std::uint8_t> TwoColourBgr() {
  std::vector<std::uint8_t> px(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* p = &px[(y * kWidth + x) * 3];
      const bool left = x < kWidth / 2;
      p[0] = left ? 30 : 220;
      p[1] = left ? 40 : 60;
      p[2] = left ? 210 : 20;
    }
  return px;
}

bool WriteJpeg(const std::wstring& path, const std::vector<std::uint8_t>& bgr) {
  tjhandle tj = tjInitCompress();
  if (!tj) return false;
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  const int rc = tjCompress2(tj, bgr.data(), kWidth, 0, kHeight, TJPF_BGR, &jpeg, &size, TJSAMP_444, 95, 0);
  bool ok = rc == 0;
  if (ok) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg), static_cast<std::streamsize>(size));
    ok = static_cast<bool>(out);
  }
  tjFree(jpeg);
  tjDestroy(tj);
  return ok;
}

class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  [[nodiscard]] HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace

TEST(WicDecode, DecodesGeneratedJpegFromWidePath) {
  ComScope com;
  ASSERT_HRESULT_SUCCEEDED(com.result());
  test_support::TempDir dir;
  const std::wstring path = dir.File(L"样张 – été.jpg");
  ASSERT_TRUE(WriteJpeg(path, TwoColourBgr()));

  ComPtr<IWICImagingFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
  ComPtr<IWICBitmapDecoder> decoder;
  ASSERT_HRESULT_SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, &decoder));
  GUID container{};
  ASSERT_HRESULT_SUCCEEDED(decoder->GetContainerFormat(&container));
  EXPECT_TRUE(IsEqualGUID(container, GUID_ContainerFormatJpeg));

  ComPtr<IWICBitmapFrameDecode> frame;
  ASSERT_HRESULT_SUCCEEDED(decoder->GetFrame(0, &frame));
  ComPtr<IWICBitmapSource> bgra;
  ASSERT_HRESULT_SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &bgra));
  UINT w = 0, h = 0;
  ASSERT_HRESULT_SUCCEEDED(bgra->GetSize(&w, &h));
  ASSERT_EQ(w, static_cast<UINT>(kWidth));
  ASSERT_EQ(h, static_cast<UINT>(kHeight));

  std::vector<std::uint8_t> pixels(w * h * 4);
  ASSERT_HRESULT_SUCCEEDED(bgra->CopyPixels(nullptr, w * 4, static_cast<UINT>(pixels.size()), pixels.data()));
  const auto expect_near = [&](int x, int y, int b, int g, int r) {
    const std::uint8_t* p = &pixels[(y * kWidth + x) * 4];
    EXPECT_LE(std::abs(p[0] - b), 6) << "blue at " << x << "," << y;
    EXPECT_LE(std::abs(p[1] - g), 6) << "green at " << x << "," << y;
    EXPECT_LE(std::abs(p[2] - r), 6) << "red at " << x << "," << y;
    EXPECT_EQ(p[3], 255);
  };
  expect_near(8, 24, 30, 40, 210);
  expect_near(56, 24, 220, 60, 20);
}
