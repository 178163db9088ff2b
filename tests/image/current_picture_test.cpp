// The picture on screen: opening, switching while work runs, animation and long pictures, the preview,
// and many opens in a row without leaking.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

#include "tests/support/message_pump.h"
#include "basic_lib/gdiplus.h"
#include "image/current_picture.h"
#include "image/wic_factory.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

using namespace image;
using namespace std::chrono_literals;

using test_support::PumpUntil;

namespace {

std::wstring Fixture(const wchar_t* name) { return test_support::TestBinDirectory() + L"fixtures\\decode\\" + name; }

// A fit-frame stand-in: holds the loader it was given and works until asked to stop.
class HoldingTask : public view_render::CAsyncTask {
 public:
  HoldingTask(std::shared_ptr<CWICImageLoader> loader, std::atomic<bool>& running, std::atomic<bool>& done)
      : loader_(std::move(loader)), running_(running), done_(done) {}
  void Run() override {
    running_ = true;
    while (KeepRunning()) Sleep(2);
  }
  void OnComplete() override { done_ = true; }

 private:
  std::shared_ptr<CWICImageLoader> loader_;
  std::atomic<bool>& running_;
  std::atomic<bool>& done_;
};

class CurrentPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CreateImagingFactory();
    OpenOptions options;
    options.orientation_by_tag = true;
    picture_.SetOpenOptions(options);
  }
  void TearDown() override {
    picture_.Reset();
    ReleaseImagingFactory();
    CoUninitialize();
  }
  basic_lib::ScopedGdiplus gdiplus_;
  CCurrentPicture picture_;
};

}  // namespace

TEST_F(CurrentPictureTest, AMissingFileAndThenTheSameFileOnceItExists) {
  test_support::TempDir dir;
  const std::wstring path = dir.File(L"later.png");
  std::wstring seen_path;
  int seen_w = -1;
  picture_.SetPictureObserver([&](const std::wstring& p, const CImageExifInfo*, int w, int) {
    seen_path = p;
    seen_w = w;
  });
  picture_.Open(path);
  EXPECT_EQ(picture_.GetPath(), path);
  EXPECT_EQ(picture_.GetLoader(), nullptr);
  EXPECT_EQ(seen_w, 0);
  ASSERT_TRUE(CopyFileW(Fixture(L"marked.png").c_str(), path.c_str(), FALSE));
  picture_.Open(path);
  ASSERT_NE(picture_.GetLoader(), nullptr);
  EXPECT_EQ(seen_path, path);
  EXPECT_EQ(seen_w, 64);
  picture_.Open(L"");
  EXPECT_EQ(picture_.GetLoader(), nullptr);
}

TEST_F(CurrentPictureTest, SwitchingStopsTheOldWorkAndKeepsItsLoaderAlive) {
  picture_.Open(Fixture(L"marked.png"));
  std::weak_ptr<CWICImageLoader> first = picture_.GetLoader();
  std::atomic<bool> running{false}, done{false};
  picture_.GetQueue().AddTask(std::make_unique<HoldingTask>(picture_.GetLoader(), running, done));
  ASSERT_TRUE(PumpUntil([&] { return running.load(); }));
  picture_.Open(Fixture(L"marked.gif"));
  EXPECT_FALSE(first.expired()) << "the task still holds the old loader";
  ASSERT_TRUE(PumpUntil([&] { return done.load(); })) << "asked to stop, it ends";
  ASSERT_TRUE(PumpUntil([&] { return first.expired(); }));
}

TEST_F(CurrentPictureTest, AnimationAndLongPictures) {
  const std::pair<const wchar_t*, bool> animated[] = {
      {L"anim.gif", true}, {L"marked.gif", false}, {L"multi.tif", false}, {L"marked.png", false}};
  for (const auto& [name, expected] : animated) {
    picture_.Open(Fixture(name));
    ASSERT_NE(picture_.GetLoader(), nullptr) << name;
    EXPECT_EQ(picture_.IsAnimated(), expected) << name;
  }
  const std::pair<const wchar_t*, bool> tall[] = {
      {L"long_1279x5117.png", true}, {L"long_1280x10000.png", false}, {L"long_1000x4000.png", false}};
  for (const auto& [name, expected] : tall) {
    picture_.Open(Fixture(name));
    EXPECT_EQ(picture_.IsLongPicture(), expected) << name;
  }
  picture_.Open(L"");
  EXPECT_FALSE(picture_.IsAnimated());
  EXPECT_FALSE(picture_.IsLongPicture());
}

TEST_F(CurrentPictureTest, ThePreviewKeepsTheWiderBitmap) {
  picture_.Open(Fixture(L"marked.png"));
  EXPECT_FALSE(picture_.HasPreview());
  HDC screen = GetDC(nullptr);
  HBITMAP wide = CreateCompatibleBitmap(screen, 300, 200), narrow = CreateCompatibleBitmap(screen, 200, 300);
  HBITMAP wider = CreateCompatibleBitmap(screen, 400, 100);
  ReleaseDC(nullptr, screen);
  const auto width = [&] {
    UINT w = 0, h = 0;
    return picture_.GetPreview() && SUCCEEDED(picture_.GetPreview()->GetSize(&w, &h)) ? static_cast<int>(w) : 0;
  };
  picture_.SetPreview(wide);
  EXPECT_TRUE(picture_.HasPreview());
  EXPECT_EQ(width(), 300);
  picture_.SetPreview(narrow);
  EXPECT_EQ(width(), 300) << "rotated twice: the wider stays";
  picture_.SetPreview(wider);
  EXPECT_EQ(width(), 400);
  picture_.Open(Fixture(L"marked.png"));
  EXPECT_FALSE(picture_.HasPreview());
  EXPECT_EQ(picture_.GetPreview(), nullptr);
  for (HBITMAP b : {wide, narrow, wider}) DeleteObject(b);

  bool copied = false;
  picture_.CopyToClipboard([&](const std::wstring& path) { copied = path == picture_.GetPath(); });
  EXPECT_TRUE(copied);
}

TEST_F(CurrentPictureTest, AThousandOpensLeakNothing) {
  const wchar_t* names[] = {L"marked.png", L"marked.jpg", L"marked.gif", L"orient_6.jpg", L"marked.webp", L"missing.png"};
  OpenOptions options;
  options.orientation_by_tag = true;
  options.freeimage_folder = test_support::DistDirectory();
  picture_.SetOpenOptions(options);
  std::atomic<bool> running{false}, done{false};
  const auto round = [&](int count) {
    for (int i = 0; i < count; ++i) {
      picture_.Open(Fixture(names[i % 6]));
      if (i % 3 == 0 && picture_.GetLoader())
        picture_.GetQueue().AddTask(std::make_unique<HoldingTask>(picture_.GetLoader(), running, done));
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    picture_.Open(L"");
    PumpUntil([&] { return picture_.GetQueue().running_count() == 0; });
  };
  round(60);  // caches, pools and the decoders' first allocations
  DWORD handles_before = 0, handles_after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles_before);
  const DWORD gdi_before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user_before = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  round(1000);
  GetProcessHandleCount(GetCurrentProcess(), &handles_after);
  EXPECT_LE(handles_after, handles_before + 4) << "handles";
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi_before + 2) << "GDI objects";
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user_before + 2) << "USER objects";
}
