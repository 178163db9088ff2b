// Shooting information read from files exiftool wrote, through a WIC frame as the decoder will give it.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "image/exif_info.h"
#include "tests/support/test_paths.h"

using namespace image;
using Microsoft::WRL::ComPtr;

namespace {

class ExifFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_)));
  }
  void TearDown() override {
    factory_.Reset();
    CoUninitialize();
  }
  CImageExifInfo Read(const wchar_t* name) {
    const std::wstring path = test_support::TestBinDirectory() + L"fixtures\\exif\\" + name;
    CImageExifInfo info;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    // Read access only: a decoder opened for writing truncates the file under Wine.
    EXPECT_HRESULT_SUCCEEDED(factory_->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                                 WICDecodeMetadataCacheOnDemand, &decoder));
    if (!decoder || FAILED(decoder->GetFrame(0, &frame))) return info;
    ReadExifInfo(info, frame.Get(), ReadFileHead(path));
    return info;
  }
  ComPtr<IWICImagingFactory> factory_;
};

}  // namespace

TEST_F(ExifFileTest, ACameraPicture) {
  const CImageExifInfo info = Read(L"camera.jpg");
  EXPECT_EQ(info.camera_maker, L"Canon");
  EXPECT_EQ(info.camera_model, L"EOS 5D Mark IV");
  EXPECT_EQ(info.lens, L"EF24-70mm f/2.8L II USM");
  EXPECT_EQ(info.shooting_time, L"2024:05:03 14:07:09");
  EXPECT_EQ(info.f_number, L"2.8");
  EXPECT_EQ(info.max_aperture, L"3.0") << "stored as the APEX value of f/2.8, 2.97";
  EXPECT_EQ(info.exposure_time, L"1/250");
  EXPECT_EQ(info.iso_speed, L"200");
  EXPECT_EQ(info.focal_length, L"50.0");
  EXPECT_EQ(info.metering_mode, L"5");
  EXPECT_EQ(info.flash, L"16");
  EXPECT_EQ(info.white_balance, L"0");
  EXPECT_EQ(info.exposure_program, L"3");
  EXPECT_EQ(info.orientation, 6);
  EXPECT_EQ(info.resolution, 150) << "from the frame";
  ASSERT_EQ(info.gps_position.size(), 20u) << testing::PrintToString(info.gps_position);
  EXPECT_NEAR(std::stod(info.gps_position.substr(0, 9)), 39.9042, 0.00001);
  EXPECT_NEAR(std::stod(info.gps_position.substr(10)), 116.4, 0.00001);
}

TEST_F(ExifFileTest, BigEndianWithOddValues) {
  const CImageExifInfo info = Read(L"big_endian.jpg");
  EXPECT_EQ(info.camera_maker, L"Nikon");
  EXPECT_EQ(info.f_number, L"0.0") << "0/0";
  EXPECT_EQ(info.exposure_time, L"10/1");
  EXPECT_EQ(info.orientation, 3);
  EXPECT_EQ(info.gps_position.substr(0, 4), L"-33.") << testing::PrintToString(info.gps_position);
  EXPECT_NEAR(std::stod(info.gps_position.substr(info.gps_position.find(L',') + 1)), 151.2093, 0.0001);
}

TEST_F(ExifFileTest, LatitudeWithoutLongitudeAndFilesWithoutExif) {
  EXPECT_EQ(Read(L"latitude_only.jpg").gps_position, L"");
  for (const wchar_t* name : {L"base.jpg", L"plain.png"}) {
    const CImageExifInfo info = Read(name);
    EXPECT_EQ(info.camera_maker, L"") << name;
    EXPECT_EQ(info.f_number, L"") << name;
    EXPECT_EQ(info.gps_position, L"") << name;
    EXPECT_EQ(info.orientation, 0) << name;
  }
  EXPECT_EQ(Read(L"plain.png").resolution, 300) << "the resolution is still filled";
}
