// Preloading the neighbours into the thumbnail cache and serving fit frames from it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>

#include "tests/support/message_pump.h"
#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/thumbnail_cache.h"
#include "image/wic_factory.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"
#include "view_render/system_cache.h"

using namespace view_render;
using namespace std::chrono_literals;

using test_support::PumpUntil;

namespace {

class SystemCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    image::CreateImagingFactory();
    image::CThumbnailCache::Get().Clear();
    const std::wstring source = test_support::TestBinDirectory() + L"fixtures\\decode\\orient_1.jpg";
    for (int i = 0; i < 10; ++i) {
      names_.push_back(L"n" + std::to_wstring(i) + L".jpg");
      ASSERT_TRUE(CopyFileW(source.c_str(), dir_.File(names_.back()).c_str(), FALSE));
    }
    folder_ = dir_.path().substr(0, dir_.path().size() - 1);
    cache_.SetSettings({[this] { return preload_; }, [] { return false; }, [] { return static_cast<HBRUSH>(nullptr); }});
  }
  void TearDown() override {
    image::CCurrentPicture::Instance().Reset();
    image::ReleaseImagingFactory();
    CoUninitialize();
  }
  std::vector<std::wstring> Paths(std::initializer_list<int> indexes) {
    std::vector<std::wstring> out;
    for (int i : indexes) out.push_back(dir_.File(names_[static_cast<size_t>(i)]));
    return out;
  }
  bool Idle() { return cache_.running_count() == 0 && cache_.pending_count() == 0; }

  basic_lib::ScopedGdiplus gdiplus_;
  test_support::TempDir dir_;
  std::wstring folder_;
  std::deque<std::wstring> names_;
  bool preload_ = true;
  CSystemCache cache_;
};

}  // namespace

TEST_F(SystemCacheTest, NeighboursInOrderAndNothingBeforeStart) {
  EXPECT_EQ(cache_.UpdateNeighbours(folder_, 4, names_), Paths({5, 3, 6, 7}));
  PumpUntil([] { return false; }, 100ms);
  EXPECT_EQ(cache_.running_count(), 0u) << "nothing before Start";
  EXPECT_EQ(cache_.pending_count(), 4u);
  cache_.Start();
  ASSERT_TRUE(PumpUntil([&] { return Idle(); }));
  EXPECT_EQ(cache_.started_names(), (std::set<std::wstring>{L"n3.jpg", L"n5.jpg", L"n6.jpg", L"n7.jpg"}));
  cache_.SetDirection(1);
  EXPECT_EQ(cache_.UpdateNeighbours(folder_, 5, names_), Paths({8})) << "6 and 7 are started already";
  ASSERT_TRUE(PumpUntil([&] { return Idle(); }));
  cache_.SetDirection(2);
  EXPECT_EQ(cache_.UpdateNeighbours(folder_, 5, names_), Paths({4, 2})) << "backward: 4, 3 and 2; 3 is started";
  // Another folder starts over, in no direction.
  test_support::TempDir other(L"other");
  EXPECT_EQ(cache_.UpdateNeighbours(other.path().substr(0, other.path().size() - 1), 0, names_).size(), 3u);
}

TEST_F(SystemCacheTest, SwitchedOffPreloadsWaitForever) {
  preload_ = false;
  cache_.Start();
  cache_.UpdateNeighbours(folder_, 4, names_);
  PumpUntil([] { return false; }, 300ms);
  EXPECT_EQ(cache_.running_count(), 0u);
  EXPECT_EQ(cache_.pending_count(), 4u);
  EXPECT_EQ(image::CThumbnailCache::Get().extractions(), 0u);
}

TEST_F(SystemCacheTest, APreloadedNeighbourIsServedWithoutADecode) {
  image::CCurrentPicture& picture = image::CCurrentPicture::Instance();
  picture.Open(dir_.File(L"n4.jpg"));
  HBITMAP fit = nullptr;
  EXPECT_FALSE(cache_.LookupFit(32, 24, fit)) << "not preloaded";
  if (fit) DeleteObject(fit);
  fit = nullptr;

  cache_.Start();
  cache_.UpdateNeighbours(folder_, 4, names_);
  ASSERT_TRUE(PumpUntil([&] { return Idle(); }));
  const size_t extracted = image::CThumbnailCache::Get().extractions();
  picture.Open(dir_.File(L"n5.jpg"));
  ASSERT_TRUE(cache_.LookupFit(32, 24, fit));
  EXPECT_EQ(image::CThumbnailCache::Get().extractions(), extracted) << "served from the cache";
  BITMAP info{};
  GetObjectW(fit, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 32);
  EXPECT_EQ(info.bmHeight, 24);
  DeleteObject(fit);
  EXPECT_FALSE(cache_.FindRunningPreload(nullptr)) << "nothing runs now";
}

TEST_F(SystemCacheTest, WithNothingCachedOnlyAnEmbeddedThumbnailComesQuickly) {
  const std::wstring camera = test_support::TestBinDirectory() + L"fixtures\\decode\\with_thumbnail.jpg";
  const size_t extracted = image::CThumbnailCache::Get().extractions();
  const image::CShellThumbnailRequest quick = image::RequestShellThumbnail(camera, 1280, 0);
  ASSERT_NE(quick.bitmap, nullptr);
  EXPECT_TRUE(quick.low_quality) << "never good enough for a fit frame";
  EXPECT_EQ(quick.bitmap->width, 120) << "upright: the tag turns the 160 x 120 thumbnail";
  EXPECT_EQ(quick.bitmap->height, 160);
  const std::uint32_t middle = quick.bitmap->pixels[80 * 120 + 60];
  EXPECT_GT(middle & 0xFF, (middle >> 16) & 0xFF) << "the thumbnail's blue, not the picture's red";
  const image::CShellThumbnailRequest plain = image::RequestShellThumbnail(dir_.File(L"n1.jpg"), 1280, 0);
  EXPECT_EQ(plain.bitmap, nullptr) << "no embedded thumbnail: nothing, and no decode";
  EXPECT_EQ(image::CThumbnailCache::Get().extractions(), extracted);
}
