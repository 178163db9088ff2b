// Decoding real files through every back-end: orientation, sizes, icon frames, colour management, the
// GDI+ and FreeImage.dll fallbacks, and damaged files.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>
#include <lcms2.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "basic_lib/gdiplus.h"
#include "image/colour_transform.h"
#include "image/image_loader.h"
#include "image/wic_factory.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

using namespace image;

namespace {

std::wstring Fixture(const wchar_t* name) { return test_support::TestBinDirectory() + L"fixtures\\decode\\" + name; }

std::vector<std::uint8_t> ReadAll(const std::wstring& path) { return ReadFileHead(path, 64 << 20); }


// Which of red, green, blue or grey a pixel is.
char Colour(std::uint32_t p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  if (r > 180 && g < 90 && b < 90) return 'R';
  if (g > 180 && r < 90 && b < 90) return 'G';
  if (b > 180 && r < 90 && g < 90) return 'B';
  if (r > 90 && r < 170 && std::abs(r - g) < 30 && std::abs(r - b) < 30) return '.';
  return '?';
}

// The corners of a decoded "marked" picture: top-left, top-right, bottom-left, bottom-right.
std::string Corners(const BgraBuffer& p) {
  const int dx = p.width / 16, dy = p.height / 16;
  return {Colour(p.Row(dy)[dx]), Colour(p.Row(dy)[p.width - 1 - dx]), Colour(p.Row(p.height - 1 - dy)[dx]),
          Colour(p.Row(p.height - 1 - dy)[p.width - 1 - dx])};
}

class DecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CreateImagingFactory();
    ASSERT_NE(ImagingFactory(), nullptr);
    options_.freeimage_folder = test_support::DistDirectory();
    // This test program declares no Windows version in a manifest, so the system reports one before
    // Windows 8; the tag setting keeps the stored orientation as Windows 8 and later do.
    options_.orientation_by_tag = true;
  }
  void TearDown() override {
    ReleaseImagingFactory();
    CoUninitialize();
  }
  std::shared_ptr<CWICImageLoader> Open(const std::wstring& path) { return OpenImageFile(path, options_); }

  basic_lib::ScopedGdiplus gdiplus_;
  OpenOptions options_;
};

}  // namespace

TEST_F(DecodeTest, EveryOrientationComesOutUpright) {
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(testing::Message() << "orientation " << n);
    auto loader = Open(Fixture((L"orient_" + std::to_wstring(n) + L".jpg").c_str()));
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->info.orientation, n);
    EXPECT_EQ(GetOrientedSize(loader.get()), (std::pair<int, int>{64, 48}));
    BgraBuffer pixels;
    ASSERT_TRUE(DecodeToPixels(*loader, 64, 48, true, pixels));
    EXPECT_EQ(Corners(pixels), "RGB.");
    ASSERT_TRUE(DecodeToPixels(*loader, 300, 200, true, pixels)) << "orientation 8: 200 x 300 scaled, then turned";
    EXPECT_EQ(pixels.width, 300);
    EXPECT_EQ(pixels.height, 200);
    EXPECT_EQ(Corners(pixels), "RGB.");
    auto full = GetFullSource(*loader, false);
    ASSERT_NE(full, nullptr);
    BgraBuffer whole;
    ASSERT_TRUE(ReadSourcePixels(full.Get(), whole));
    EXPECT_EQ(whole.width, 64);
    EXPECT_EQ(Corners(whole), "RGB.");
    auto scaled = GetScaledSource(*loader, 32, 24);
    ASSERT_TRUE(ReadSourcePixels(scaled.Get(), whole));
    EXPECT_EQ(whole.width, 32);
    EXPECT_EQ(Corners(whole), "RGB.");
  }
}

TEST_F(DecodeTest, SizesFramesAndTheScreenBitmap) {
  auto loader = Open(Fixture(L"marked.png"));
  ASSERT_NE(loader, nullptr);
  BgraBuffer exact, full;
  ASSERT_TRUE(DecodeToPixels(*loader, 64, 48, true, exact));
  ASSERT_TRUE(loader->FullPixels(full));
  EXPECT_EQ(exact.pixels, full.pixels) << "the source's own size is not resampled";

  HBITMAP bitmap = nullptr;
  HBRUSH background = CreateSolidBrush(RGB(39, 39, 39));
  ASSERT_TRUE(DecodeToSize(*loader, 32, 24, true, background, bitmap));
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 32);
  EXPECT_EQ(info.bmHeight, 24);
  HBITMAP kept = bitmap;
  EXPECT_FALSE(DecodeToSize(*loader, 0, 24, true, background, bitmap));
  EXPECT_EQ(bitmap, kept) << "a failure leaves the handle";
  DeleteObject(bitmap);
  DeleteObject(background);

  auto icon = Open(Fixture(L"icon.ico"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(GetOrientedSize(icon.get()), (std::pair<int, int>{256, 256})) << "the widest frame";
}

TEST_F(DecodeTest, FallbacksReadWhatWicDoesNot) {
  test_support::TempDir dir;
  const std::wstring emf = dir.File(L"drawing.emf");
  RECT frame{0, 0, 2000, 1000};  // hundredths of a millimetre
  HDC dc = CreateEnhMetaFileW(nullptr, emf.c_str(), &frame, nullptr);
  ASSERT_NE(dc, nullptr);
  Rectangle(dc, 5, 5, 60, 30);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  auto drawing = Open(emf);
  ASSERT_NE(drawing, nullptr) << "through GDI+";
  EXPECT_EQ(drawing->decoder, nullptr);
  EXPECT_EQ(drawing->info.orientation, 0);
  EXPECT_EQ(drawing->info.camera_maker, L"");
  EXPECT_GT(GetOrientedSize(drawing.get()).first, 0);

  for (const wchar_t* name : {L"marked.webp", L"marked_ascii.ppm", L"marked.ppm", L"marked.tga", L"marked_rle.tga"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    auto loader = Open(Fixture(name));
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(GetOrientedSize(loader.get()), (std::pair<int, int>{64, 48}));
    BgraBuffer pixels;
    ASSERT_TRUE(DecodeToPixels(*loader, 64, 48, true, pixels));
    EXPECT_EQ(Corners(pixels), "RGB.");
  }
  auto grey = Open(Fixture(L"marked.pgm"));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(GetOrientedSize(grey.get()), (std::pair<int, int>{64, 48}));

  EXPECT_EQ(Open(Fixture(L"noise.jpg")), nullptr);
  EXPECT_EQ(GetOrientedSize(nullptr), (std::pair<int, int>{0, 0}));
  EXPECT_EQ(Open(dir.File(L"missing.png")), nullptr);
  options_.freeimage_folder = dir.path();  // no FreeImage.dll there
  EXPECT_EQ(Open(Fixture(L"marked.webp")), nullptr);
}

namespace {

// A wide-gamut RGB profile (Adobe RGB primaries, gamma 2.2) made with lcms2, as ICC bytes.
std::vector<std::uint8_t> WideGamutProfile() {
  const cmsCIExyY white{0.3127, 0.3290, 1.0};
  const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
  cmsToneCurve* curves[3] = {gamma, gamma, gamma};
  cmsHPROFILE p = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(p, nullptr, &size);
  std::vector<std::uint8_t> bytes(size);
  cmsSaveProfileToMem(p, bytes.data(), &size);
  cmsCloseProfile(p);
  cmsFreeToneCurve(gamma);
  return bytes;
}

// The JPEG with the profile in an APP2 chunk right after its start marker.
std::vector<std::uint8_t> WithProfile(std::vector<std::uint8_t> jpeg, const std::vector<std::uint8_t>& profile) {
  static constexpr std::uint8_t kHead[] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
  const size_t length = 2 + sizeof(kHead) + profile.size();
  std::vector<std::uint8_t> segment(4 + sizeof(kHead) + profile.size());
  segment[0] = 0xFF;
  segment[1] = 0xE2;
  segment[2] = static_cast<std::uint8_t>(length >> 8);
  segment[3] = static_cast<std::uint8_t>(length);
  std::copy(std::begin(kHead), std::end(kHead), segment.begin() + 4);
  std::copy(profile.begin(), profile.end(), segment.begin() + 4 + sizeof(kHead));
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

}  // namespace

TEST_F(DecodeTest, EmbeddedProfilesAreConvertedToSrgb) {
  test_support::TempDir dir;
  const std::vector<std::uint8_t> profile = WideGamutProfile();
  const std::wstring wide = dir.File(L"wide.jpg"), broken = dir.File(L"broken.jpg");
  const std::vector<std::uint8_t> flat = ReadAll(Fixture(L"flat.jpg"));
  ASSERT_TRUE(test_support::WriteBytes(wide, WithProfile(flat, profile)));
  ASSERT_TRUE(test_support::WriteBytes(broken, WithProfile(flat, std::vector<std::uint8_t>(300, 0x5A))));

  auto loader = Open(wide);
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(loader->colour_context, profile);
  BgraBuffer stored, managed;
  ASSERT_TRUE(DecodeToPixels(*loader, 96, 64, false, stored)) << "as stored, as with ignore_embedded_icc";
  ASSERT_TRUE(DecodeToPixels(*loader, 96, 64, true, managed));
  const std::uint32_t raw = stored.Row(32)[48];
  // lcms2's own answer for the stored colour.
  cmsHPROFILE from = cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size()));
  cmsHPROFILE to = cmsCreate_sRGBProfile();
  cmsHTRANSFORM t = cmsCreateTransform(from, TYPE_BGRA_8, to, TYPE_BGRA_8, INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA);
  std::uint32_t expected = 0;
  cmsDoTransform(t, &raw, &expected, 1);
  cmsDeleteTransform(t);
  cmsCloseProfile(from);
  cmsCloseProfile(to);
  EXPECT_NE(raw, expected) << "the profile really changes this colour";
  EXPECT_EQ(managed.Row(32)[48], expected);

  auto damaged = Open(broken);
  ASSERT_NE(damaged, nullptr);
  BgraBuffer plain;
  ASSERT_TRUE(DecodeToPixels(*damaged, 96, 64, true, plain));
  EXPECT_EQ(plain.Row(32)[48], raw) << "a broken profile: no colour management";

  // An sRGB profile is recognised and costs nothing.
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(srgb, nullptr, &size);
  std::vector<std::uint8_t> srgb_bytes(size);
  cmsSaveProfileToMem(srgb, srgb_bytes.data(), &size);
  cmsCloseProfile(srgb);
  EXPECT_TRUE(IsSrgbProfile(srgb_bytes));
  EXPECT_FALSE(IsSrgbProfile(profile));
}

TEST_F(DecodeTest, DamagedFilesNeverCrashOrHang) {
  test_support::TempDir dir;
  std::mt19937 rng(7);
  for (const wchar_t* name : {L"marked.jpg", L"marked.png", L"marked.gif", L"marked.webp", L"marked.ppm", L"marked.tga",
                              L"marked_rle.tga"}) {
    const std::vector<std::uint8_t> original = ReadAll(Fixture(name));
    ASSERT_FALSE(original.empty());
    const std::wstring extension = std::wstring(name).substr(std::wstring(name).find_last_of(L'.'));
    for (int run = 0; run < 60; ++run) {
      std::vector<std::uint8_t> bytes = original;
      if (run % 3 == 0) bytes.resize(rng() % bytes.size());
      for (int m = 0; m < 1 + run % 6; ++m)
        if (!bytes.empty()) bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
      const std::wstring path = dir.File(L"damaged" + extension);
      ASSERT_TRUE(test_support::WriteBytes(path, bytes));
      if (auto loader = Open(path)) {
        const auto [w, h] = GetOrientedSize(loader.get());
        BgraBuffer pixels;
        if (w > 0 && h > 0) (void)DecodeToPixels(*loader, std::min(w, 128), std::min(h, 128), true, pixels);
      }
    }
  }
}

TEST_F(DecodeTest, AnOpenPictureCanBeDeletedOrRenamedByOthers) {
  // Explorer and the viewer's own delete command work on the file while the picture is shown.
  test_support::TempDir dir;
  for (const wchar_t* name : {L"shown.png", L"shown.jpg", L"shown.gif", L"shown.webp"}) {
    const std::wstring fixture = std::wstring(L"marked") + (wcsrchr(name, L'.'));
    const std::wstring path = dir.File(name);
    ASSERT_TRUE(CopyFileW(Fixture(fixture.c_str()).c_str(), path.c_str(), FALSE)) << fixture.size();
    auto loader = Open(path);
    ASSERT_NE(loader, nullptr);
    const std::wstring moved = dir.File(std::wstring(L"moved_") + name);
    EXPECT_TRUE(MoveFileW(path.c_str(), moved.c_str())) << "renamed while open";
    EXPECT_TRUE(DeleteFileW(moved.c_str())) << "deleted while open";
    BgraBuffer pixels;
    EXPECT_TRUE(DecodeToPixels(*loader, 16, 12, false, pixels)) << "and it still decodes";
  }
}
